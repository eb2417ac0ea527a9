// The main program of the benchmarks that drive Qt widgets: they run on the
// offscreen platform, as the UI tests do, so no display is needed. They
// collate, format numbers and dates as a user in the United States: the
// C locale of a bare machine would spare them the collation's cost.

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "en_US.UTF-8");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
