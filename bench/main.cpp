// Runs every registered benchmark, then prints one "name: value unit" line per figure.
#include "BenchSummary.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <vector>

namespace {
struct Figure {
    std::string name;
    double value;
    std::string unit;
};
std::vector<Figure>& figures() {
    static std::vector<Figure> f;
    return f;
}

class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.error_occurred || r.run_type != Run::RT_Iteration)
                continue;
            const double t = r.GetAdjustedRealTime();
            // The figure is named after the benchmark alone, without run options such as
            // "/manual_time" or "/iterations:5".
            std::string name = r.benchmark_name();
            name = name.substr(0, name.find('/'));
            figures().push_back({name, t, benchmark::GetTimeUnitString(r.time_unit)});
        }
    }
};
} // namespace

namespace BenchSummary {
void add(const std::string& name, double value, const std::string& unit) {
    figures().push_back({name, value, unit});
}
} // namespace BenchSummary

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::printf("\nsummary\n");
    for (const Figure& f : figures())
        std::printf("%s: %.4g %s\n", f.name.c_str(), f.value, f.unit.c_str());
    return 0;
}
