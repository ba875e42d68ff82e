// Entry of every test program: headless Qt application, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform reports every top-level window it cannot size; that says nothing here.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints"))) return;
    if (g_defaultHandler) g_defaultHandler(type, context, text);
}

}  // namespace

int main(int argc, char** argv) {
    g_defaultHandler = qInstallMessageHandler(QuietMessages);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
