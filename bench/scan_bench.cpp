// The whole scan of all seventeen categories on the substitute platform, against a
// plain loop over the same items; the memory of 100,000 findings; how soon a Stop
// press ends a run; and sorting 100,000 rows. Prints one `name=value` line per figure
// at the end.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <vector>

#include "bench_host.h"
#include "bench_registry.h"
#include "exclusions/exclusion_list.h"
#include "platform/platform.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/substitute/substitute_shell.h"
#include "scan/findings_sort.h"

namespace qm::bench {
namespace {

namespace fs = std::filesystem;

// The substitute platform with drive C: on a fresh host folder, removed at the end.
class SubstitutePlatform {
 public:
  SubstitutePlatform() : driveC_(fs::temp_directory_path() / ("qm-scan-bench-" + std::to_string(::getpid()))) {
    fs::remove_all(driveC_);
    fs::create_directories(driveC_);
    files_.MapDrive(L'C', driveC_);
  }
  ~SubstitutePlatform() { fs::remove_all(driveC_); }
  SubstitutePlatform(const SubstitutePlatform&) = delete;
  SubstitutePlatform& operator=(const SubstitutePlatform&) = delete;

  const Platform& Get() const { return platform_; }

 private:
  fs::path driveC_;
  SubstituteRegistry registry_;
  SubstituteFileSystem files_;
  SubstituteShell shell_;
  SubstituteLocale locale_;
  FixedClock clock_;
  Platform platform_{registry_, files_, shell_, locale_, clock_};
};

struct ScanRun {
  double seconds = 0;
  double stopLatencyMs = 0;  // from the moment Stop was due to the end of the run
  bool stopped = false;
};

// One whole run over every category; Stop is clicked `stopAfter` seconds in, if given.
ScanRun RunScan(const Platform& platform, FindingsList& findings, std::optional<double> stopAfter = {}) {
  ExclusionList exclusions;
  BenchHost host;
  Scanner scanner(platform, host, findings, exclusions);
  host.scanner = &scanner;
  const auto start = BenchHost::Clock::now();
  if (stopAfter)
    host.stopAt = start + std::chrono::duration_cast<BenchHost::Clock::duration>(std::chrono::duration<double>(*stopAfter));
  scanner.StartSearch();
  const auto end = BenchHost::Clock::now();
  ScanRun run{std::chrono::duration<double>(end - start).count()};
  if (host.stopPressed) {
    run.stopped = true;
    run.stopLatencyMs = std::chrono::duration<double, std::milli>(end - *host.stopAt).count();
  }
  return run;
}

// The best of `rounds` timings, scan and loop taken in turn.
struct Comparison {
  double scanSeconds = 1e9;
  double loopSeconds = 1e9;
  std::size_t findings = 0;
};

Comparison CompareWithPlainLoop(const Platform& platform, const GeneratedRegistry& generated, int rounds,
                                FindingsList& findings) {
  Comparison best;
  for (int round = 0; round < rounds; ++round) {
    best.scanSeconds = std::min(best.scanSeconds, RunScan(platform, findings).seconds);
    best.loopSeconds = std::min(best.loopSeconds, SecondsOf([&] { PlainLoop(platform, generated); }));
  }
  best.findings = findings.Size();
  return best;
}

double CoreRatio(std::size_t items, int rounds, FindingsList& findings) {
  SubstitutePlatform platform;
  GeneratedRegistry generated;
  const double generateSeconds = SecondsOf([&] { generated = GenerateRegistry(platform.Get(), items); });
  const Comparison c = CompareWithPlainLoop(platform.Get(), generated, rounds, findings);
  std::printf("%zu items (%zu broken, generated in %.1f s): scan %.3f s, plain loop %.3f s, ratio %.2f, %zu findings\n",
              generated.items, generated.broken, generateSeconds, c.scanSeconds, c.loopSeconds,
              c.scanSeconds / c.loopSeconds, c.findings);
  return c.scanSeconds / c.loopSeconds;
}

// The longest wait for a Stop clicked at several moments of runs over `items` items.
double StopLatencyMs(std::size_t items, bool withFiles) {
  SubstitutePlatform platform;
  GenerateRegistry(platform.Get(), items, withFiles);
  FindingsList findings;
  const double whole = RunScan(platform.Get(), findings).seconds;
  double worst = 0;
  for (double fraction : {0.02, 0.15, 0.3, 0.45, 0.6, 0.75, 0.9}) {
    const ScanRun run = RunScan(platform.Get(), findings, whole * fraction);
    if (run.stopped) worst = std::max(worst, run.stopLatencyMs);
  }
  std::printf("%zu items: whole scan %.2f s, longest wait for Stop %.2f ms\n", items, whole, worst);
  return worst;
}

// 100,000 rows made of the findings of a real scan, repeated.
FindingsList HundredThousandRows(const FindingsList& scanned) {
  FindingsList rows;
  for (std::size_t i = 0; rows.Size() < 100000; ++i) {
    Finding finding = scanned[i % scanned.Size()];
    finding.valueData += std::to_wstring(i);  // rows differ, as they do in a real list
    rows.Add(std::move(finding));
  }
  return rows;
}

double HeapMegabytes() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

// With a number, only the comparison with the plain loop over that many items.
int Run(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  FindingsList scanned;
  if (argc > 1) {
    std::printf("core_ratio=%.2f\n", CoreRatio(std::strtoul(argv[1], nullptr, 10), 3, scanned));
    return 0;
  }
  double coreRatio = 0;
  for (auto [items, rounds] : {std::pair<std::size_t, int>{10000, 3}, {100000, 2}})
    coreRatio = std::max(coreRatio, CoreRatio(items, rounds, scanned));

  const double heapBefore = HeapMegabytes();
  auto rows = std::make_unique<FindingsList>(HundredThousandRows(scanned));
  const double findingsMb = HeapMegabytes() - heapBefore;

  SubstituteLocale locale;
  FindingsSorter sorter(locale);
  double sortMs = 0;
  for (FindingColumn column : {FindingColumn::KeyPath, FindingColumn::ValueData, FindingColumn::Category})
    sortMs = std::max(sortMs, 1000 * SecondsOf([&] { sorter.SortBy(*rows, column); }));
  rows.reset();

  double stopMs = 0;
  stopMs = std::max(stopMs, StopLatencyMs(10000, true));
  stopMs = std::max(stopMs, StopLatencyMs(100000, true));
  stopMs = std::max(stopMs, StopLatencyMs(500000, false));  // no files: every item broken

  std::printf("core_ratio=%.2f\n", coreRatio);
  std::printf("findings_100k_mb=%.1f\n", findingsMb);
  std::printf("stop_ms=%.1f\n", stopMs);
  std::printf("sort_100k_ms=%.0f\n", sortMs);
  return 0;
}

}  // namespace
}  // namespace qm::bench

int main(int argc, char** argv) { return qm::bench::Run(argc, argv); }
