#pragma once
// A registry of many items spread over all seventeen scan categories, half of them
// broken, written through the platform seams (the substitute or the real registry),
// with the files of the healthy half on drive C:. Also the floor a scan is measured
// against: a plain loop that enumerates the same items and asks PathExists once each.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "scan/category_scan.h"

namespace qm {

struct Platform;

namespace bench {

// A key whose items the generator fills. A values key holds the tested path in each
// value's name or data; a subkeys key holds it in `valueName` of the item's subkey
// followed by `suffix`.
struct BenchSource {
  RootKey root;
  std::wstring path;  // from the root, no leading backslash
  ItemKind items;
  std::uint32_t view;  // access::Wow64_64Key or access::Wow64_32Key
  std::wstring suffix;
  std::wstring valueName;
  bool pathInName = false;  // values keys: the name, not the data, is the path
  bool measured = true;     // false for keys the scan only looks up (class ids)
};

struct GeneratedRegistry {
  std::vector<BenchSource> sources;
  std::size_t items = 0;
  std::size_t broken = 0;
};

// The folder on drive C: that holds the healthy items' files.
inline constexpr std::wstring_view kBenchFolder = L"C:\\QuillmereBench";

// Writes `itemCount` items, dealt out over the categories in turn; every second one
// is broken. Files are created for the healthy ones unless `withFiles` is false.
GeneratedRegistry GenerateRegistry(const Platform& platform, std::size_t itemCount, bool withFiles = true);
// Deletes every item the generator wrote (the files stay to the caller).
void RemoveGenerated(const Platform& platform, const GeneratedRegistry& generated);

// Enumerates every source's items, reads the tested text of each and asks PathExists
// once for it. Gives the number of paths that exist.
std::size_t PlainLoop(const Platform& platform, const GeneratedRegistry& generated);

// Seconds taken by work().
template <class Work>
double SecondsOf(Work&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace bench
}  // namespace qm
