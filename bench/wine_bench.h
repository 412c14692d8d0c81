#pragma once
// What the Wine benchmarks share: the generated items in the real registry (with the
// healthy items' files on drive C:), removed again at the end, and the best of two
// rounds of a scan against the plain loop over the same items.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "bench_registry.h"

namespace qm::bench {

class GeneratedOnDisk {
 public:
  GeneratedOnDisk(const Platform& platform, std::size_t items) : platform_(platform) {
    seconds_ = SecondsOf([&] { generated_ = GenerateRegistry(platform, items); });
  }
  ~GeneratedOnDisk() {
    RemoveGenerated(platform_, generated_);
    std::error_code error;
    std::filesystem::remove_all(std::filesystem::path(std::wstring(kBenchFolder)), error);
  }
  GeneratedOnDisk(const GeneratedOnDisk&) = delete;
  GeneratedOnDisk& operator=(const GeneratedOnDisk&) = delete;

  const GeneratedRegistry& Get() const { return generated_; }
  // "10000 items (4998 broken, generated in 18.2 s)"
  void PrintSize() const {
    std::printf("%zu items (%zu broken, generated in %.1f s)", generated_.items, generated_.broken, seconds_);
  }

 private:
  const Platform& platform_;
  GeneratedRegistry generated_;
  double seconds_ = 0;
};

struct BestTimes {
  double scanSeconds = 1e9;
  double loopSeconds = 1e9;
  double Ratio() const { return scanSeconds / loopSeconds; }
};

// The best of two rounds each of timedScan() (which gives its own seconds) and of the
// plain loop, taken in turn.
template <class TimedScan>
BestTimes BestOfTwoRounds(const Platform& platform, const GeneratedRegistry& generated, TimedScan&& timedScan) {
  BestTimes best;
  for (int round = 0; round < 2; ++round) {
    best.scanSeconds = std::min(best.scanSeconds, timedScan());
    best.loopSeconds = std::min(best.loopSeconds, SecondsOf([&] { PlainLoop(platform, generated); }));
  }
  return best;
}

// Runs run(items, byCategory) with the command line of a Wine benchmark: the number of
// items (10,000 unless given), then "categories" for the time of each category alone.
inline int RunWithArguments(int argc, char** argv, int (*run)(std::size_t items, bool byCategory)) {
  return run(argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10000, argc > 2 && std::string(argv[2]) == "categories");
}

}  // namespace qm::bench
