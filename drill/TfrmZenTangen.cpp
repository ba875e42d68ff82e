#include "TfrmZenTangen.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include "Named.h"
#include "QtText.h"

namespace sulkan {
namespace {

bool PrintThroughDialog(QWidget& window) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window);
    if (dialog.exec() != QDialog::Accepted) return false;
    QPainter painter(&printer);
    if (!painter.isActive()) return false;
    const QRect page = painter.viewport();
    const double scale =
        std::min(double(page.width()) / window.width(), double(page.height()) / window.height());
    painter.scale(scale, scale);
    window.render(&painter);
    return true;
}

}  // namespace

TfrmZenTangen::TfrmZenTangen(QWidget* parent)
    : QDialog(parent),
      PrintWindowHook(PrintThroughDialog),
      trvMain(Named(new QTreeWidget, "trvMain")),
      Label1(Named(new QLabel, "Label1")),
      Edit1(Named(new QLineEdit, "Edit1")),
      btnPrint(Named(new QPushButton(QStringLiteral("印刷")), "btnPrint")),
      btnClose(Named(new QPushButton(QStringLiteral("閉じる")), "btnClose")) {
    setObjectName(QStringLiteral("TfrmZenTangen"));
    setWindowTitle(QStringLiteral("全単元"));
    trvMain->setHeaderHidden(true);
    // Marks and counts line up in a fixed-pitch face, as in unit selection.
    QFont fixed(QStringLiteral("ＭＳ ゴシック"));
    fixed.setStyleHint(QFont::TypeWriter);
    trvMain->setFont(fixed);
    Edit1->setReadOnly(true);
    Edit1->setMaximumWidth(60);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(Edit1);
    bottom->addStretch();
    bottom->addWidget(btnPrint);
    bottom->addWidget(btnClose);
    auto* root = new QVBoxLayout(this);
    root->addWidget(trvMain, 1);
    root->addLayout(bottom);

    connect(btnPrint, &QPushButton::clicked, this, &TfrmZenTangen::btnPrintClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

int TfrmZenTangen::showFor(const ZenTangenSource& source) {
    FormShow(source);
    return exec();
}

void TfrmZenTangen::FormShow(const ZenTangenSource& source) {
    trvMain->clear();
    auto* root = new QTreeWidgetItem(trvMain, {ToQString(source.lessonTitle)});
    for (std::size_t s = 0; s < source.sectionTitles.size(); ++s) {
        auto* section = new QTreeWidgetItem(root, {ToQString(source.sectionTitles[s])});
        if (s < source.unitLines.size())
            for (const std::string& unit : source.unitLines[s])
                new QTreeWidgetItem(section, {ToQString(unit)});
        section->setExpanded(true);
    }
    root->setExpanded(true);
    Label1->setText(ToQString(source.dateStamp) + QStringLiteral("-"));
    m_printCount = 0;
    Edit1->setText(QStringLiteral("0"));
}

void TfrmZenTangen::btnPrintClick() {
    ++m_printCount;
    Edit1->setText(QString::number(m_printCount));
    if (PrintWindowHook) PrintWindowHook(*this);
}

}  // namespace sulkan
