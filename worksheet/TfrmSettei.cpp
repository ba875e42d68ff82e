#include "TfrmSettei.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

#include "Fonts.h"
#include "Named.h"
#include "QtText.h"
#include "Sjis.h"

using namespace Qt::Literals::StringLiterals;

namespace sulkan {
namespace {

enum BoxStyleNumber {
    kNone = 0,
    kSquare = 1,
    kBrackets = 2,
    kLenticular = 3,
    kUnderline = 4,
    kRounded = 5
};

constexpr int kTopOffset = 48;  // below the main window's title and menu bars

QSpinBox* ValueField(QWidget* parent, const char* name, int minimum = INT_MIN,
                     int maximum = INT_MAX) {
    auto* field = Named(new QSpinBox(parent), name);
    field->setRange(minimum, maximum);
    return field;
}

QSpinBox* HiddenField(QWidget* parent, const char* name, int minimum = INT_MIN,
                      int maximum = INT_MAX) {
    QSpinBox* field = ValueField(parent, name, minimum, maximum);
    field->hide();
    return field;
}

// Keys that type something (letters, digits, kana, a minus sign, a blank) still reach the field;
// control keys such as arrows, Delete, Enter and Tab yield no printable text.
bool TypesText(const QKeyEvent& key) {
    const QString text = key.text();
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

const std::string& MinchoFace() {
    static const std::string face = sjis("ＭＳ 明朝");
    return face;
}

}  // namespace

class TfrmSettei::Filling {
public:
    explicit Filling(TfrmSettei& dialog) : m_dialog(dialog) { ++m_dialog.m_filling; }
    ~Filling() { --m_dialog.m_filling; }
    Filling(const Filling&) = delete;
    Filling& operator=(const Filling&) = delete;

private:
    TfrmSettei& m_dialog;
};

TfrmSettei::TfrmSettei(WorksheetHost& host, QWidget* parent)
    : TfrmSettei(host, ListFonts(true, false), parent) {}

TfrmSettei::TfrmSettei(WorksheetHost& host, std::vector<std::string> answerFaces, QWidget* parent)
    : QDialog(parent),
      grbKind(Named(new QGroupBox(u"解答欄の形"_s, this), "grbKind")),
      radNon(Named(new QRadioButton(u"なし"_s, grbKind), "radNon")),
      radShikaku(Named(new QRadioButton(u"四角"_s, grbKind), "radShikaku")),
      radKakko(Named(new QRadioButton(u"[   ]"_s, grbKind), "radKakko")),
      radLine(Named(new QRadioButton(u"【 】"_s, grbKind), "radLine")),
      radKasen(Named(new QRadioButton(u"____"_s, grbKind), "radKasen")),
      radRound(Named(new QRadioButton(u"角丸"_s, grbKind), "radRound")),
      spnKranWX(ValueField(grbKind, "spnKranWX")),
      spnKranH(ValueField(grbKind, "spnKranH")),
      spnKranX(HiddenField(this, "spnKranX")),
      spnKranY(HiddenField(this, "spnKranY")),
      spnAnsX(HiddenField(this, "spnAnsX")),
      spnAnsY(HiddenField(this, "spnAnsY")),
      spnLeftM(HiddenField(this, "spnLeftM", 0, 15)),
      spnRightM(HiddenField(this, "spnRightM", 0, 15)),
      spnFontSize(ValueField(this, "spnFontSize")),
      lstFont(Named(new QListWidget(this), "lstFont")),
      btnMincho(Named(new QPushButton(u"ＭＳ 明朝にする"_s, this), "btnMincho")),
      edtKaiFont(Named(new QLineEdit(u"ＭＳ 明朝"_s, this), "edtKaiFont")),
      btnOk(Named(new QPushButton(u"閉じる"_s, this), "btnOk")),
      m_host(host),
      m_styles(new QButtonGroup(this)),
      m_faces(std::move(answerFaces)) {
    createControls();
    createLayout();
    connectControls();
    setKeyboardOrder();
}

void TfrmSettei::createControls() {
    setObjectName(u"TfrmSettei"_s);
    setWindowTitle(u"設定"_s);

    radKakko->hide();
    radLine->hide();
    spnFontSize->setSingleStep(2);
    edtKaiFont->setReadOnly(true);
    btnOk->setDefault(true);
    for (const std::string& face : m_faces) lstFont->addItem(ToQString(face));

    const std::pair<QRadioButton*, int> styles[] = {{radNon, kNone},        {radShikaku, kSquare},
                                                    {radKakko, kBrackets},  {radLine, kLenticular},
                                                    {radKasen, kUnderline}, {radRound, kRounded}};
    for (const auto& [button, style] : styles) m_styles->addButton(button, style);
    m_styles->setExclusive(true);
}

void TfrmSettei::createLayout() {
    auto* kind = new QGridLayout(grbKind);
    kind->addWidget(radNon, 0, 0);
    kind->addWidget(radShikaku, 0, 1);
    kind->addWidget(radKasen, 1, 0);
    kind->addWidget(radRound, 1, 1);
    kind->addWidget(new QLabel(u"幅"_s), 2, 0);
    kind->addWidget(spnKranWX, 2, 1);
    kind->addWidget(new QLabel(u"高さ"_s), 3, 0);
    kind->addWidget(spnKranH, 3, 1);

    auto* size = new QHBoxLayout;
    size->addWidget(new QLabel(u"サイズ"_s));
    size->addWidget(spnFontSize, 1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(grbKind);
    column->addLayout(size);
    column->addWidget(new QLabel(u"解答用行書体"_s));
    column->addWidget(lstFont, 1);
    column->addWidget(btnMincho);
    column->addWidget(new QLabel(u"解等フォント"_s));
    column->addWidget(edtKaiFont);
    column->addWidget(btnOk);
}

void TfrmSettei::connectControls() {
    connect(m_styles, &QButtonGroup::idToggled, this, &TfrmSettei::styleButtonToggled);
    const std::pair<QSpinBox*, int LayoutParams::*> holders[] = {
        {spnKranWX, &LayoutParams::BoxWidth},    {spnKranH, &LayoutParams::BoxHeight},
        {spnKranX, &LayoutParams::BoxOffsetX},   {spnKranY, &LayoutParams::BoxOffsetY},
        {spnAnsX, &LayoutParams::AnswerOffsetX}, {spnAnsY, &LayoutParams::AnswerOffsetY},
        {spnLeftM, &LayoutParams::LeftMargin},   {spnRightM, &LayoutParams::RightMargin}};
    for (const auto& [field, param] : holders) {
        connect(field, &QSpinBox::valueChanged, this,
                [this, param = param](int value) { valueChange(param, value); });
    }
    connect(spnFontSize, &QSpinBox::valueChanged, this, &TfrmSettei::spnFontSizeChange);
    connect(lstFont, &QListWidget::itemClicked, this, &TfrmSettei::lstFontClick);
    connect(btnMincho, &QPushButton::clicked, this, &TfrmSettei::btnMinchoClick);
    connect(btnOk, &QPushButton::clicked, this, &TfrmSettei::btnOkClick);
}

void TfrmSettei::setKeyboardOrder() {
    // The close button comes first, so that the focus a new showing lands on selects no style.
    QWidget* chain[] = {btnOk,    radNon,      radShikaku, radKasen,  radRound,  spnKranWX,
                        spnKranH, spnFontSize, lstFont,    btnMincho, edtKaiFont};
    for (std::size_t i = 1; i < std::size(chain); ++i) setTabOrder(chain[i - 1], chain[i]);

    // The dialog sees every key before its fields do, including the spin boxes' inner editors
    // and the list's viewport.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void TfrmSettei::setActiveWorksheet(TfrmPrint* worksheet) {
    m_active = worksheet;
}

void TfrmSettei::fillFrom(const Worksheet& worksheet) {
    const Filling filling(*this);
    const LayoutParams& p = worksheet.params;
    fillBoxFields(p);
    spnAnsX->setValue(p.AnswerOffsetX);
    spnAnsY->setValue(p.AnswerOffsetY);
    spnLeftM->setValue(p.LeftMargin);
    spnRightM->setValue(p.RightMargin);
    spnFontSize->setValue(EffectiveAnswerFontSize(p));
    m_host.sheetShared().AnswerFontSize = spnFontSize->value();
}

void TfrmSettei::fillBoxFields(const LayoutParams& p) {
    selectStyle(p.BoxStyle);
    spnKranWX->setValue(p.BoxWidth);
    spnKranH->setValue(p.BoxHeight);
    spnKranX->setValue(p.BoxOffsetX);
    spnKranY->setValue(p.BoxOffsetY);
    edtKaiFont->setText(ToQString(p.FontName));
}

int TfrmSettei::openFor(TfrmPrint* worksheet) {
    if (!worksheet) return QDialog::Rejected;
    setActiveWorksheet(worksheet);
    m_host.sheetShared().layoutDialogReady = false;
    {
        const Filling filling(*this);
        fillBoxFields(worksheet->worksheet().params);
    }
    // The frames are judged with their answers in them.
    if (!m_host.answerDisplay()) m_host.setAnswerDisplayOn();
    return exec();
}

void TfrmSettei::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmSettei::FormShow() {
    SheetShared& shared = m_host.sheetShared();
    shared.layoutDialogReady = false;
    placeOnScreen();
    if (TfrmPrint* w = m_active) {
        const Filling filling(*this);
        const LayoutParams& p = w->worksheet().params;
        selectStyle(p.BoxStyle);
        spnFontSize->setValue(EffectiveAnswerFontSize(p));
    }
    shared.layoutDialogReady = true;
}

void TfrmSettei::placeOnScreen() {
    const QScreen* s = screen();
    const QRect area = s ? s->availableGeometry() : QRect();
    move(area.left(), area.top() + kTopOffset);
    resize(width(), std::max(m_host.panelHeight(), minimumSizeHint().height()));
}

bool TfrmSettei::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) return FormKeyDown(*static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusIn) {
        if (auto* button = qobject_cast<QRadioButton*>(watched))
            styleButtonFocused(button, static_cast<QFocusEvent*>(event)->reason());
    }
    return QDialog::eventFilter(watched, event);
}

bool TfrmSettei::FormKeyDown(const QKeyEvent& key) {
    const bool commandModifier =
        key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (key.key()) {
        case Qt::Key_Escape:
            // Every change is already in the worksheet; closing keeps them.
            reject();
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            m_host.scrollActive();
            return true;
        case Qt::Key_S:
            if (!commandModifier) m_host.toggleShrink();
            return true;
        case Qt::Key_Backspace:
            return false;
        default:
            return !TypesText(key);
    }
}

void TfrmSettei::styleButtonToggled(int style, bool checked) {
    if (!checked) return;
    setSizeFieldsEnabled(style);
    TfrmPrint* w = changeTarget();
    if (!w) return;
    w->worksheet().params.BoxStyle = style;
    applied(w);
}

void TfrmSettei::styleButtonFocused(QRadioButton* button, Qt::FocusReason reason) {
    // Only focus moved onto the button counts: a mouse press selects it through its click, and
    // focus coming back with the window is no choice of the teacher's.
    const bool moved = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
                       reason == Qt::ShortcutFocusReason || reason == Qt::OtherFocusReason;
    if (!moved || button->isChecked()) return;
    if (!m_host.sheetShared().layoutDialogReady) return;
    button->setChecked(true);
}

void TfrmSettei::valueChange(int LayoutParams::*param, int value) {
    TfrmPrint* w = changeTarget();
    if (!w) return;
    w->worksheet().params.*param = value;
    applied(w);
}

void TfrmSettei::spnFontSizeChange(int value) {
    TfrmPrint* w = changeTarget();
    if (!w) return;
    // One answer size for the whole program, applied to the active worksheet.
    m_host.sheetShared().AnswerFontSize = value;
    w->worksheet().params.AnswerFontSize = value;
    applied(w);
}

void TfrmSettei::lstFontClick(QListWidgetItem* item) {
    const int row = lstFont->row(item);
    if (row >= 0 && row < static_cast<int>(m_faces.size())) chooseAnswerFace(m_faces[row]);
}

void TfrmSettei::btnMinchoClick() {
    chooseAnswerFace(MinchoFace());
}

void TfrmSettei::chooseAnswerFace(const std::string& face) {
    edtKaiFont->setText(ToQString(face));
    TfrmPrint* w = changeTarget();
    if (!w) return;
    w->worksheet().params.FontName = face;
    applied(w);
}

void TfrmSettei::btnOkClick() {
    if (TfrmPrint* w = m_active) {
        Worksheet& sheet = w->worksheet();
        sheet.params.BoxWidth = spnKranWX->value();
        sheet.params.BoxHeight = spnKranH->value();
        w->Redraw();
    }
    m_host.sheetShared().layoutDialogReady = true;
    accept();
}

void TfrmSettei::selectStyle(int style) {
    QAbstractButton* button = m_styles->button(style);
    if (!button) button = radNon;
    button->setChecked(true);
    // Checking the button already checked toggles nothing, so the fields are set here as well.
    setSizeFieldsEnabled(m_styles->id(button));
}

void TfrmSettei::setSizeFieldsEnabled(int style) {
    spnKranWX->setEnabled(style != kNone);
    spnKranH->setEnabled(style == kSquare || style == kRounded);
}

TfrmPrint* TfrmSettei::changeTarget() const {
    // The main window also fills fields directly while it holds redrawing off.
    if (m_filling > 0 || !m_host.sheetShared().redrawEnabled) return nullptr;
    return m_active;
}

void TfrmSettei::applied(TfrmPrint* worksheet) {
    worksheet->Redraw();
    worksheet->worksheet().modified = true;
}

}  // namespace sulkan
