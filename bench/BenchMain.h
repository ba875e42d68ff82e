// Runs the registered benchmarks inside a headless application with our fonts, as every
// benchmark program of ours does.
#pragma once

namespace benchmark {
class BenchmarkReporter;
}

namespace sulkan::bench {

// reporter: where the results go besides the console (nullptr: the console only).
int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr);

}  // namespace sulkan::bench
