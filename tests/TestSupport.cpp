#include "TestSupport.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "Sjis.h"

namespace sulkan::test {

TempDir::TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("sulkan-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::folder() const {
    return m_path.string() + "/";
}

std::vector<std::string> Sjis(const std::vector<std::string>& utf8Lines) {
    std::vector<std::string> out;
    out.reserve(utf8Lines.size());
    for (const auto& l : utf8Lines) out.push_back(sjis(l));
    return out;
}

void WriteSjisFile(const std::filesystem::path& file, const std::vector<std::string>& utf8Lines) {
    std::string bytes;
    for (const auto& l : utf8Lines) bytes += sjis(l) + "\r\n";
    WriteRawFile(file, bytes);
}

void WriteRawFile(const std::filesystem::path& file, const std::string& bytes) {
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadRawFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace sulkan::test

namespace sulkan::test {

std::vector<std::string> UnnamedControls(QWidget* root) {
    std::vector<std::string> unnamed;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* w : widgets) {
        const bool interactive = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QAbstractSpinBox*>(w) ||
                                 qobject_cast<QAbstractItemView*>(w) ||
                                 qobject_cast<QComboBox*>(w) || qobject_cast<QTabBar*>(w) ||
                                 qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w);
        if (!interactive) continue;
        // The parts of a compound control (a spin box's line edit, a combo box's list) are named
        // through it.
        bool part = false;
        for (QWidget* up = w->parentWidget(); up && !part; up = up->parentWidget())
            part = qobject_cast<QAbstractSpinBox*>(up) || qobject_cast<QComboBox*>(up);
        if (part) continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        if (face && !face->text(QAccessible::Name).trimmed().isEmpty()) continue;
        unnamed.push_back(std::string(w->window()->metaObject()->className()) + " " +
                          w->metaObject()->className() + " " + w->objectName().toStdString());
    }
    return unnamed;
}

QColor ColorAt(const QImage& image, int x, int y) {
    const double r = image.devicePixelRatio();
    return image.pixelColor(static_cast<int>((x + 0.5) * r), static_cast<int>((y + 0.5) * r));
}

}  // namespace sulkan::test
