// The benchmark program's entry point. Besides Google Benchmark's own flags and JSON output
// (--benchmark_out), it prints a short table of the median cost of each benchmark and ends with
// the ratios that the library's performance is judged by, one line each: "token_card / floor =
// 1.04". All figures come from the medians over the repetitions of this one run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace sdkcore::bench {
namespace {

// A benchmark as the table names it: its name and the number of threads it ran on.
using RunKey = std::pair<std::string, std::int64_t>;

struct Summary {
  std::int64_t order = 0;               // registration order, for the table
  double itemsPerSecond = 0;            // the median throughput over all threads
  std::optional<double> spreadPercent;  // coefficient of variation of the throughput
};

// Collects the medians as the benchmarks finish (in any order when repetitions are interleaved)
// and prints the table, in registration order, and the ratios at the end.
class SummaryReporter final : public benchmark::BenchmarkReporter {
 public:
  bool ReportContext(const Context& context) override {
    std::printf("%zu CPUs, load average %s; medians over repetitions (this takes minutes)\n",
                static_cast<std::size_t>(context.cpu_info.num_cpus), loadAverage(context).c_str());
    std::fflush(stdout);
    return true;
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) {
        std::printf("%-32s error: %s\n", run.benchmark_name().c_str(), run.error_message.c_str());
      } else {
        record(run, runs.size());
      }
    }
  }

  void Finalize() override {
    std::vector<std::pair<RunKey, Summary>> rows(summaries_.begin(), summaries_.end());
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.second.order < b.second.order; });
    std::printf("%-32s %14s %8s\n", "benchmark", "median/op", "spread");
    for (const auto& [key, summary] : rows) printRow(key, summary);
    printRatio("token_card / floor", ratio({"floor", 1}, {"token_card", 1}));
    printRatio("token_card_logged / floor", ratio({"floor", 1}, {"token_card_logged", 1}));
    printRatio("token_stored / floor", ratio({"floor", 1}, {"token_stored", 1}));
    printRatio("token_invalid / floor", ratio({"floor", 1}, {"token_invalid", 1}));
    printRatio("2-thread speed-up", ratio({"token_card", 2}, {"token_card", 1}));
    printRatio("floor 2-thread speed-up", ratio({"floor", 2}, {"floor", 1}));
  }

 private:
  static std::string loadAverage(const Context& context) {
    std::string text;
    for (double load : context.cpu_info.load_avg) {
      char part[16];
      std::snprintf(part, sizeof part, "%s%.2f", text.empty() ? "" : " ", load);
      text += part;
    }
    return text.empty() ? "unknown" : text;
  }

  // Keeps the median aggregate of a repeated benchmark, or the only run of a single one, and
  // the spread from the "cv" aggregate.
  void record(const Run& run, std::size_t runCount) {
    std::string name = run.run_name.function_name;
    if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
    const RunKey key{std::move(name), run.threads};
    const bool single = runCount == 1 && run.run_type == Run::RT_Iteration;
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    const auto items = run.counters.find("items_per_second");
    if (items == run.counters.end()) return;
    Summary& summary = summaries_[key];
    summary.order = run.family_index * 1000 + run.per_family_instance_index;
    if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "cv") {
      summary.spreadPercent = 100.0 * items->second.value;
    }
    if (single || median) summary.itemsPerSecond = items->second.value;
  }

  static void printRow(const RunKey& key, const Summary& summary) {
    std::string name = key.first + (key.second > 1 ? " x" + std::to_string(key.second) : "");
    const double nanoseconds = summary.itemsPerSecond > 0 ? 1e9 / summary.itemsPerSecond : 0;
    char spread[16] = "";
    if (summary.spreadPercent)
      std::snprintf(spread, sizeof spread, "%.1f%%", *summary.spreadPercent);
    std::printf("%-32s %11.0f ns %8s\n", name.c_str(), nanoseconds, spread);
  }

  // The throughput of 'numerator' over that of 'denominator'.
  std::optional<double> ratio(const RunKey& numerator, const RunKey& denominator) const {
    const auto a = summaries_.find(numerator);
    const auto b = summaries_.find(denominator);
    if (a == summaries_.end() || b == summaries_.end() || b->second.itemsPerSecond <= 0) {
      return std::nullopt;
    }
    return a->second.itemsPerSecond / b->second.itemsPerSecond;
  }

  static void printRatio(const char* name, std::optional<double> value) {
    if (value) {
      std::printf("%s = %.2f\n", name, *value);
    } else {
      std::printf("%s = n/a\n", name);
    }
  }

  std::map<RunKey, Summary> summaries_;
};

}  // namespace
}  // namespace sdkcore::bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  sdkcore::bench::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
