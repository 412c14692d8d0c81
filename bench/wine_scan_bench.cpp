// The whole scan of all seventeen categories through the real registry and file
// system (under Wine), against a plain loop over the same items. Prints
// `wine_ratio=<value>` at the end. The items are removed again afterwards.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>

#include "bench_host.h"
#include "bench_registry.h"
#include "exclusions/exclusion_list.h"
#include "win32/windows_platform.h"

namespace qm::bench {
namespace {

double ScanSeconds(const Platform& platform, std::span<const ScanCategory> categories = ScanCategories()) {
  FindingsList findings;
  ExclusionList exclusions;
  BenchHost host;
  Scanner scanner(platform, host, findings, exclusions, categories);
  host.scanner = &scanner;
  return SecondsOf([&] { scanner.StartSearch(); });
}

// The time of each category alone.
void ShowCategoryTimes(const Platform& platform) {
  for (const ScanCategory& category : ScanCategories())
    std::printf("  %-28ls %.3f s\n", std::wstring(category.checkBoxName).c_str(),
                ScanSeconds(platform, std::span(&category, 1)));
}

int Run(std::size_t items, bool byCategory) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  WindowsPlatform windows;
  const Platform& platform = windows.Get();
  GeneratedRegistry generated;
  const double generateSeconds = SecondsOf([&] { generated = GenerateRegistry(platform, items); });
  double scanSeconds = 1e9, loopSeconds = 1e9;
  for (int round = 0; round < 2; ++round) {
    scanSeconds = std::min(scanSeconds, ScanSeconds(platform));
    loopSeconds = std::min(loopSeconds, SecondsOf([&] { PlainLoop(platform, generated); }));
  }
  if (byCategory) ShowCategoryTimes(platform);
  RemoveGenerated(platform, generated);
  std::error_code error;
  std::filesystem::remove_all(std::filesystem::path(std::wstring(kBenchFolder)), error);
  std::printf("real registry, %zu items (%zu broken, generated in %.1f s): scan %.3f s, plain loop %.3f s, ratio %.2f\n",
              generated.items, generated.broken, generateSeconds, scanSeconds, loopSeconds, scanSeconds / loopSeconds);
  std::printf("wine_ratio=%.2f\n", scanSeconds / loopSeconds);
  return 0;
}

}  // namespace
}  // namespace qm::bench

// Arguments: the number of items (10,000 unless given), then "categories" for the
// time of each category.
int main(int argc, char** argv) {
  return qm::bench::Run(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000,
                        argc > 2 && std::string(argv[2]) == "categories");
}
