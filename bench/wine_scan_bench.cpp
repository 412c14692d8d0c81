// The whole scan of all seventeen categories through the real registry and file
// system (under Wine), against a plain loop over the same items. Prints
// `wine_ratio=<value>` at the end. The items are removed again afterwards.
#include <windows.h>

#include <cstdio>
#include <span>
#include <string>

#include "bench_host.h"
#include "bench_registry.h"
#include "wine_bench.h"
#include "win32/windows_platform.h"

namespace qm::bench {
namespace {

// The time of each category alone.
void ShowCategoryTimes(const Platform& platform) {
  for (const ScanCategory& category : ScanCategories())
    std::printf("  %-28ls %.3f s\n", std::wstring(category.checkBoxName).c_str(),
                CoreScanSeconds(platform, std::span(&category, 1)));
}

int Run(std::size_t items, bool byCategory) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  WindowsPlatform windows;
  const Platform& platform = windows.Get();
  const GeneratedOnDisk generated(platform, items);
  const BestTimes best = BestOfTwoRounds(platform, generated.Get(), [&] { return CoreScanSeconds(platform); });
  if (byCategory) ShowCategoryTimes(platform);
  std::printf("real registry, ");
  generated.PrintSize();
  std::printf(": scan %.3f s, plain loop %.3f s, ratio %.2f\n", best.scanSeconds, best.loopSeconds, best.Ratio());
  std::printf("wine_ratio=%.2f\n", best.Ratio());
  return 0;
}

}  // namespace
}  // namespace qm::bench

int main(int argc, char** argv) { return qm::bench::RunWithArguments(argc, argv, qm::bench::Run); }
