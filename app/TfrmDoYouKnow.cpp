#include "TfrmDoYouKnow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Help.h"
#include "Named.h"
#include "Settings.h"

namespace sulkan {

TfrmDoYouKnow::TfrmDoYouKnow(AppState& state, SettingsStore& settings, QWidget* parent)
    : QDialog(parent),
      grbTips(Named(new QGroupBox(QStringLiteral("ご存じですか？")), "grbTips")),
      btnStudy(Named(new QPushButton(QStringLiteral("［学習］ボタンで勉強できます")), "btnStudy")),
      btnWord(
          Named(new QPushButton(QStringLiteral("★Microsoft Word（ワード）との連携")), "btnWord")),
      btnFax(Named(new QPushButton(QStringLiteral("FAXソフトで送れます")), "btnFax")),
      btnCFlag(Named(new QPushButton(QStringLiteral("自作の学級旗が印刷できます。")), "btnCFlag")),
      btnClipBoard(
          Named(new QPushButton(QStringLiteral("クリップボードへコピーして画像を加工できます。")),
                "btnClipBoard")),
      btnRuidai(Named(new QPushButton(QStringLiteral("類題を使おう")), "btnRuidai")),
      chkNextTime(Named(new QCheckBox(QStringLiteral("次の起動時にも表示する")), "chkNextTime")),
      btnClose(Named(new QPushButton(QStringLiteral("閉じる")), "btnClose")),
      m_state(state),
      m_settings(settings) {
    setObjectName(QStringLiteral("TfrmDoYouKnow"));
    setWindowTitle(QStringLiteral("ご存じですか"));
    chkNextTime->setChecked(true);

    grbTips->setAutoFillBackground(true);
    QPalette white = grbTips->palette();
    white.setColor(QPalette::Window, Qt::white);
    grbTips->setPalette(white);

    auto* tips = new QVBoxLayout(grbTips);
    const std::pair<QPushButton*, int> topics[] = {{btnStudy, 902},     {btnWord, 842},
                                                   {btnFax, 901},       {btnCFlag, 840},
                                                   {btnClipBoard, 850}, {btnRuidai, 900}};
    for (const auto& [button, context] : topics) {
        button->setStyleSheet(QStringLiteral("text-align: left; padding: 4px 10px;"));
        button->setAutoDefault(false);
        tips->addWidget(button);
        const int topic = context;
        connect(button, &QPushButton::clicked, this, [topic] { ShowHelpTopic(topic); });
    }
    btnRuidai->hide();
    tips->addSpacing(6);
    tips->addWidget(chkNextTime);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* root = new QVBoxLayout(this);
    root->addWidget(grbTips);
    root->addLayout(buttons);
    btnClose->setDefault(true);

    connect(btnClose, &QPushButton::clicked, this, &TfrmDoYouKnow::btnCloseClick);
}

int TfrmDoYouKnow::showModal() {
    chkNextTime->setChecked(m_showNextTime);
    btnClose->setFocus();
    return exec();
}

void TfrmDoYouKnow::btnCloseClick() {
    m_showNextTime = chkNextTime->isChecked();
    WriteBoolSetting(m_settings, "ShowDoYouKnow", m_showNextTime);
    if (m_state.OpenWorksheetCount == 0 && ShowTitleHook) ShowTitleHook();
    accept();
}

}  // namespace sulkan
