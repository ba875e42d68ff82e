#include "BenchMain.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardPaths>
#include <cstdlib>

#include "Fonts.h"

namespace sulkan::bench {

int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* reporter) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    // Keep the user's own settings out of what is measured.
    QStandardPaths::setTestModeEnabled(true);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (reporter)
        benchmark::RunSpecifiedBenchmarks(reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace sulkan::bench
