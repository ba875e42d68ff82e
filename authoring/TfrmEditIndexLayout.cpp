// The index editor's controls, with their given names and pictures, and how they are laid out.
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "Named.h"
#include "TfrmEditIndex.h"
#include "TfrmEditSource.h"
#include "TfrmInputText.h"
#include "Widgets.h"

namespace sulkan {
namespace {

// Small pictures of our own, so the tree looks the same under every style.
QIcon DrawnIcon(int image) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(60, 60, 60));
    switch (image) {
        case TfrmEditIndex::RootImage:  // a closed book
            p.setBrush(QColor(40, 90, 170));
            p.drawRect(2, 1, 11, 13);
            p.setBrush(Qt::white);
            p.drawRect(4, 3, 7, 3);
            break;
        case TfrmEditIndex::SectionImage:  // a folder
            p.setBrush(QColor(235, 190, 60));
            p.drawRect(1, 3, 6, 2);
            p.drawRect(1, 5, 13, 8);
            break;
        case TfrmEditIndex::UnitImage:  // a written page
            p.setBrush(Qt::white);
            p.drawRect(3, 1, 10, 13);
            p.drawLine(5, 4, 11, 4);
            p.drawLine(5, 7, 11, 7);
            p.drawLine(5, 10, 9, 10);
            break;
        case TfrmEditIndex::ExpandImage:  // opens downwards
        case TfrmEditIndex::CollapseImage: {
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setBrush(QColor(40, 90, 170));
            const bool down = image == TfrmEditIndex::ExpandImage;
            const QPoint tip(8, down ? 12 : 3), left(2, down ? 4 : 11), right(14, down ? 4 : 11);
            const QPoint triangle[] = {tip, left, right};
            p.drawPolygon(triangle, 3);
            break;
        }
        default:
            break;
    }
    return QIcon(pixmap);
}

}  // namespace

void TfrmEditIndex::createControls() {
    lstELesson = Named(new QListWidget, "lstELesson");
    edtMainTitle = Named(new QLineEdit, "edtMainTitle");
    edtIndex = ReadOnlyEdit("edtIndex");
    edtDataFile = ReadOnlyEdit("edtDataFile");
    lstESection = Named(new QListWidget, "lstESection");
    btnAdd = Button(QStringLiteral("追加 =>"), "btnAdd");
    btnChange = Button(QStringLiteral("変更 <>"), "btnChange");
    lstEUnit = Named(new QListWidget, "lstEUnit");
    btnAdd2 = Button(QStringLiteral("追加 =>"), "btnAdd2");
    btnChange2 = Button(QStringLiteral("変更 <>"), "btnChange2");
    trvSect = Named(new QTreeWidget, "trvSect");
    trvSect->setHeaderHidden(true);
    btnExpand = Button(QStringLiteral("表示を圧縮する"), "btnExpand");
    btnEditDirect = Button(QStringLiteral("ソースの直接編集(&E)"), "btnEditDirect");
    btnOk = Button(QStringLiteral("OK"), "btnOk");
    btnClose = Button(QStringLiteral("キャンセル"), "btnClose");
    btnHelp = Button(QStringLiteral("ヘルプ(&H)"), "btnHelp");
    pnlHint = Named(new QLabel, "pnlHint");
    pnlHint->setMargin(4);
    pnlHint->setAutoFillBackground(true);
    for (int image = 0; image <= CollapseImage; ++image) ImageList1.push_back(DrawnIcon(image));
    // Enter in a list or a field must not close the window behind the teacher's back.
    for (QPushButton* b : {btnAdd, btnChange, btnAdd2, btnChange2, btnExpand, btnEditDirect, btnOk,
                           btnClose, btnHelp})
        b->setAutoDefault(false);
    frmInputText = new TfrmInputText(this);
    frmEditSource = new TfrmEditSource(m_prompter, this);

    m_hints = {
        {lstELesson, QStringLiteral("編集するコースウェアを選択します")},
        {lstESection, QStringLiteral("主インデックスを書きます")},
        {lstEUnit, QStringLiteral("副インデックスを書きます")},
        {btnAdd, QStringLiteral("項目を追加します")},
        {btnAdd2, QStringLiteral("項目を追加します")},
        {btnChange, QStringLiteral("項目を変更します")},
        {btnChange2, QStringLiteral("項目を変更します")},
        {btnOk, QStringLiteral("編集結果を保存して閉じます")},
        {btnClose, QStringLiteral("編集結果を無視してして閉じます")},
        {trvSect, QStringLiteral("インデックスの全構造を表示します")},
        {btnExpand, QStringLiteral("インデックスの表示を展開／圧縮します")},
        {btnEditDirect, editDirectHint()},
    };
    for (auto& hint : m_hints) hint.first->installEventFilter(this);
    setMouseTracking(true);
}

void TfrmEditIndex::createLayout() {
    auto label = [](const QString& text) { return new QLabel(text); };

    auto* lessons = new QVBoxLayout;
    lessons->addWidget(label(QStringLiteral("コースウェア")));
    lessons->addWidget(lstELesson, 1);

    auto* files = new QGridLayout;
    files->addWidget(label(QStringLiteral("タイトル")), 0, 0);
    files->addWidget(edtMainTitle, 0, 1);
    files->addWidget(label(QStringLiteral("ｲﾝﾃﾞｯｸｽﾌｧｲﾙ")), 1, 0);
    files->addWidget(edtIndex, 1, 1);
    files->addWidget(label(QStringLiteral("マスターﾌｧｲﾙ")), 2, 0);
    files->addWidget(edtDataFile, 2, 1);

    auto listWithButtons = [&label](const QString& caption, QListWidget* list, QPushButton* add,
                                    QPushButton* change) {
        auto* buttons = new QVBoxLayout;
        buttons->addStretch();
        buttons->addWidget(add);
        buttons->addWidget(change);
        buttons->addStretch();
        auto* column = new QVBoxLayout;
        column->addWidget(label(caption));
        column->addWidget(list, 1);
        auto* row = new QHBoxLayout;
        row->addLayout(column, 1);
        row->addLayout(buttons);
        return row;
    };

    auto* tree = new QVBoxLayout;
    tree->addWidget(trvSect, 1);
    tree->addWidget(btnExpand);

    auto* editing = new QHBoxLayout;
    editing->addLayout(
        listWithButtons(QStringLiteral("主メニュー"), lstESection, btnAdd, btnChange), 1);
    editing->addLayout(listWithButtons(QStringLiteral("副メニュー"), lstEUnit, btnAdd2, btnChange2),
                       1);
    editing->addLayout(tree, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(lessons, 1);
    top->addLayout(files, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnEditDirect);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnClose);
    buttons->addWidget(btnHelp);

    auto* root = new QVBoxLayout(this);
    root->addLayout(top, 1);
    root->addLayout(editing, 3);
    root->addLayout(buttons);
    root->addWidget(pnlHint);
}

}  // namespace sulkan
