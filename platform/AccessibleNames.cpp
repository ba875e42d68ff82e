#include "AccessibleNames.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QString>
#include <QWidget>
#include <cstring>

namespace sulkan {
namespace {

struct ControlText {
    const char* window;  // class name of the window without the namespace; "" for any window
    const char* control;
    const char* name;
    const char* description;
};

// clang-format off
constexpr ControlText kControls[] = {
    // Main window and its title window.
    {"TfrmMain", "edtLogOnName", "学習者名", "ログオンしている学習者の名前"},
    {"TfrmMain", "spnGyouSpace", "主行間", "問題の行と行の間隔"},
    {"TfrmMain", "spnMojiSize", "文字サイズ", "問題の文字の大きさ"},
    {"TfrmMain", "btnTitle", "タイトル画像", "押すと単元選択を開きます"},
    {"TfrmMain", "btnScroll", "スクロール", "プリントの先頭と末尾の間を移ります"},
    {"TfrmMain", "lstWindow", "開いているプリント", "開いているプリントの一覧"},
    {"TfrmMain", "lstDummyX", "作業用の一覧", "表示されない作業用の一覧"},
    {"TfrmMain", "lstDefaultData", "既定の値", "表示されない既定の設定値"},
    {"TfrmMain", "spnKranWX", "解答欄の幅", "表示されない解答欄の幅の値"},
    {"TfrmMain", "spnGyoukanSub", "行間の補正", "表示されない行間の補正の値"},
    {"TfrmDummy", "btnTitle", "タイトル画像", "押すと単元選択を開きます"},
    // Unit selection.
    {"TfrmMenu", "lstLesson", "課", "コースの課の一覧"},
    {"TfrmMenu", "lstSection", "節", "選んだ課の節の一覧"},
    {"TfrmMenu", "lstUnit", "単元", "選んだ節の単元の一覧。括弧の中の数字は練習回数"},
    {"TfrmMenu", "lstRuidai", "類題", "選んだ単元の類題の一覧"},
    // Copy files, log-on, passwords, version, print numbering.
    {"TfrmOpenSKN", "lstLesson", "課", "コピーファイルのある課の一覧"},
    {"TfrmOpenSKN", "flbSKN", "コピーファイル", "選んだ課のコピーファイルの一覧"},
    {"TfrmOpenSKN", "lstContents", "内容", "選んだコピーファイルの内容"},
    {"TfrmOpenSKN", "edtFileName", "ファイル名", "開くコピーファイルの名前"},
    {"TfrmInputName", "edtName", "名前", "ログオンする学習者の名前"},
    {"TfrmInputName", "edtMeibo", "名簿", "名簿のファイル"},
    {"TfrmInputName", "lstName", "名簿の学習者", "名簿にある学習者の一覧"},
    {"TfrmInputName", "Memo1", "説明", "ログオンの説明"},
    {"TfrmPassword", "mskPW", "パスワード", "4文字以上のパスワード"},
    {"TfrmPassword", "mskPW2", "パスワードの確認", "同じパスワードをもう一度"},
    {"TfrmVersion", "ListBox2", "作者と協力者", "このプログラムの作者と協力者"},
    {"TfrmPrintOk", "spnStartNum", "開始番号", "印刷する最初の部の番号"},
    // Settings.
    {"TfrmSettei", "spnKranX", "解答欄の横の大きさ", "解答欄の幅"},
    {"TfrmSettei", "spnKranY", "解答欄の縦の大きさ", "解答欄の高さ"},
    {"TfrmSettei", "spnAnsX", "解答の横の位置", "解答欄の中の解答の横の位置"},
    {"TfrmSettei", "spnAnsY", "解答の縦の位置", "解答欄の中の解答の縦の位置"},
    {"TfrmSettei", "spnLeftM", "左余白", "用紙の左の余白"},
    {"TfrmSettei", "spnRightM", "右余白", "用紙の右の余白"},
    {"TfrmSettei", "spnFontSize", "解答の文字サイズ", "解答の文字の大きさ"},
    {"TfrmSettei", "lstFont", "解答の書体", "使える行書の書体の一覧"},
    {"TfrmSettei", "edtKaiFont", "解答の書体名", "選んだ解答の書体"},
    // Records.
    {"TfrmKiroku", "lstTitle", "記録の一覧", "学習者の記録の一覧"},
    {"TfrmKiroku", "memDetail", "記録の詳細", "選んだ記録の詳しい内容"},
    {"TfrmKiroku", "edtName", "学習者名", "記録を表示している学習者"},
    {"TfrmClassRecords", "lstUnits", "単元", "学級の記録の単元の一覧"},
    {"TfrmClassRecords", "grdRecords", "学級の記録", "学習者ごとの成績の表"},
    {"TfrmClassRecords", "grdQuestions", "問題ごとの正答率", "問題ごとの正答率の表"},
    {"TfrmClassRecords", "grdMostMissed", "よく間違える問題", "間違いの多い問題の表"},
    {"TfrmClassRecords", "memDetail", "詳細", "選んだ記録の詳しい内容"},
    {"TfrmClassRecords", "cmbReviewLearner", "復習の学習者", "復習する問題を出す学習者"},
    {"TfrmClassRecords", "spnReviewRate", "正答率の上限", "この正答率までの問題を復習に出します"},
    {"TfrmZenTangen", "trvMain", "全単元", "コースのすべての単元"},
    {"TfrmZenTangen", "Edit1", "単元数", "単元の数"},
    // Question editor.
    {"TfrmEditQues", "edtLesson", "課", "編集している単元の課"},
    {"TfrmEditQues", "edtTangen", "単元", "編集している単元"},
    {"TfrmEditQues", "edtFileName", "問題ファイル", "単元の問題ファイルの名前"},
    {"TfrmEditQues", "MemQues", "問題文", "問題の行。解答は # と # の間、別解は ; で区切ります"},
    {"TfrmEditQues", "memDummy", "ダミーの選択肢", "解答選択に混ぜる誤答"},
    {"TfrmEditQues", "memHint", "ヒント", "学習のポイント"},
    {"TfrmEditQues", "memKgroup", "解答選択", "解答選択の一覧"},
    {"TfrmEditQues", "memPasteLo", "位置情報", "<<value の位置情報など"},
    {"TfrmEditQues", "edtSoftKeyB", "ソフトキーボード", "ソフトキーボードのファイル"},
    {"TfrmEditQues", "lstSoftKeyB", "ソフトキーボードの一覧", "使えるソフトキーボード"},
    {"TfrmEditQues", "lstKai", "解答の一覧", "問題文の解答"},
    {"TfrmEditQues", "memQGraph", "問題の図", "問題用紙の図の指定"},
    {"TfrmEditQues", "memAGraph", "解答の図", "解答用紙の図の指定"},
    {"TfrmEditQues", "flbGraph", "使えるグラフ", "挿入できる図のファイル"},
    {"TfrmEditSource", "memEditBuffer", "問題ファイル", "問題ファイル全体の直接編集"},
    {"TfrmInputText", "memInput", "入力", "入力する文字"},
    // Index editor.
    {"TfrmEditIndex", "edtMainTitle", "コース名", "コースの題名"},
    {"TfrmEditIndex", "edtIndex", "目次ファイル", "課の目次ファイル"},
    {"TfrmEditIndex", "edtDataFile", "問題ファイル", "節の問題ファイル"},
    {"TfrmEditIndex", "lstELesson", "課", "コースの課の一覧"},
    {"TfrmEditIndex", "lstESection", "節", "課の節の一覧"},
    {"TfrmEditIndex", "lstEUnit", "単元", "節の単元の一覧"},
    {"TfrmEditIndex", "trvSect", "目次", "節と単元の木"},
    // Toolkit parts.
    {"", "qt_menubar_ext_button", "メニューの続き", "入りきらないメニュー"},
};
// clang-format on

bool Interactive(QWidget* w) {
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractItemView*>(w) ||
           qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
           w->focusPolicy() != Qt::NoFocus;
}

QString WindowClass(QWidget* w) {
    QString name = QString::fromLatin1(w->window()->metaObject()->className());
    return name.mid(name.lastIndexOf(u':') + 1);
}

}  // namespace

int NameControls(QWidget* window) {
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    int named = 0;
    for (QWidget* w : widgets) {
        if (!w->accessibleName().isEmpty() || !Interactive(w)) continue;
        const QString windowClass = WindowClass(w);
        const QByteArray object = w->objectName().toLatin1();
        const ControlText* row = nullptr;
        for (const ControlText& c : kControls)
            if (object == c.control && (!*c.window || windowClass == QLatin1String(c.window))) {
                row = &c;
                break;
            }
        if (row) {
            w->setAccessibleName(QString::fromUtf8(row->name));
            w->setAccessibleDescription(QString::fromUtf8(row->description));
        } else if (auto* header = qobject_cast<QHeaderView*>(w)) {
            w->setAccessibleName(header->orientation() == Qt::Horizontal
                                     ? QStringLiteral("列見出し")
                                     : QStringLiteral("行見出し"));
        } else if (std::strcmp(w->metaObject()->className(), "QTableCornerButton") == 0) {
            w->setAccessibleName(QStringLiteral("すべて選択"));
        } else if (!w->toolTip().isEmpty()) {
            w->setAccessibleName(w->toolTip());
        } else {
            continue;
        }
        ++named;
    }
    return named;
}

}  // namespace sulkan
