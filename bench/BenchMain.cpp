// Entry of the benchmark programs that need no more than a headless application and our fonts.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

#include "Fonts.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Keep the user's own settings out of what is measured.
    QStandardPaths::setTestModeEnabled(true);
    sulkan::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
