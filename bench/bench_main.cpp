// Runs every benchmark a few times and prints one table of medians: each figure, its floor
// and the ratio between them. The render benchmark, built with the window, needs the
// front-panel window, which is created on Qt's offscreen platform unless another one is chosen.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_table.h"
#ifdef TXM9_BENCH_WINDOW
#include <QApplication>

#include "qt/pcmain.h"
#endif

namespace {

constexpr int REPETITIONS = 5;

struct entry {
    std::string name;
    std::string floor; // empty for a floor itself
};

std::vector<entry>& entries() {
    static std::vector<entry> list;
    return list;
}

void add(const std::string& name, const std::string& floor,
         std::function<void(benchmark::State&)> body) {
    entries().push_back({name, floor});
    benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) { body(state); })
        ->Repetitions(REPETITIONS)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kNanosecond);
}

// Keeps the median of each benchmark's repetitions.
class median_collector : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                errors[run.run_name.function_name] = run.error_message;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                // A benchmark that does many items per iteration is shown per item.
                const auto items = run.counters.find(ITEMS_PER_ITERATION);
                const double per = items == run.counters.end() ? 1.0 : items->second.value;
                medians_ns[run.run_name.function_name] = run.GetAdjustedCPUTime() / per;
                labels[run.run_name.function_name] = run.report_label;
            }
        }
    }
    std::map<std::string, double> medians_ns;
    std::map<std::string, std::string> labels;
    std::map<std::string, std::string> errors;
};

std::string figure(double ns) {
    char text[32];
    std::snprintf(text, sizeof text, ns >= 1000.0 ? "%8.2f us" : "%8.1f ns",
                  ns >= 1000.0 ? ns / 1000.0 : ns);
    return text;
}

} // namespace

void register_measured(const std::string& name, const std::string& floor,
                       std::function<void(benchmark::State&)> body) {
    add(name, floor, std::move(body));
}

void register_floor(const std::string& name, std::function<void(benchmark::State&)> body) {
    add(name, "", std::move(body));
}

int main(int argc, char* argv[]) {
#ifdef TXM9_BENCH_WINDOW
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    TForm1 window;
#endif

    benchmark::Initialize(&argc, argv);
    median_collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::size_t width = 0;
    for (const entry& e : entries()) {
        width = std::max(width, e.name.size());
    }
    std::printf("%-*s  %11s  %-*s  %11s  %7s\n", static_cast<int>(width), "benchmark", "median",
                static_cast<int>(width), "floor", "floor", "ratio");
    for (const entry& e : entries()) {
        const auto found = collector.medians_ns.find(e.name);
        if (found == collector.medians_ns.end()) {
            const auto error = collector.errors.find(e.name);
            if (error != collector.errors.end()) {
                std::printf("%-*s  failed: %s\n", static_cast<int>(width), e.name.c_str(),
                            error->second.c_str());
            }
            continue; // filtered out
        }
        if (e.floor.empty()) {
            const std::string& label = collector.labels[e.name];
            std::printf("%-*s  %s  %s\n", static_cast<int>(width), e.name.c_str(),
                        figure(found->second).c_str(),
                        label.empty() ? "(a floor)" : ("(a floor: " + label + ")").c_str());
            continue;
        }
        const auto floor = collector.medians_ns.find(e.floor);
        if (floor == collector.medians_ns.end()) {
            std::printf("%-*s  %s\n", static_cast<int>(width), e.name.c_str(),
                        figure(found->second).c_str());
            continue;
        }
        std::printf("%-*s  %s  %-*s  %s  %6.1fx\n", static_cast<int>(width), e.name.c_str(),
                    figure(found->second).c_str(), static_cast<int>(width), e.floor.c_str(),
                    figure(floor->second).c_str(), found->second / floor->second);
    }
    return collector.errors.empty() ? 0 : 1;
}
