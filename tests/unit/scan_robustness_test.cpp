// Registries a real machine can hold, scanned by all seventeen categories: values of
// every type and size where a string is expected, names at the registry's length
// limits, keys that cannot be opened and keys deleted while the scan runs. The scan
// finishes, reports what it can and never fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bench_registry.h"
#include "category_fixture.h"

namespace qm::testing {

namespace {

constexpr std::size_t kItems = 17 * 12;  // twelve items in each category, half broken

// Calls visit(source, itemKeyPath, valueName) for every generated item: the key and
// value that hold its tested text (for values keys, the item's own value).
void ForEachItem(ScanFixture& scan, const bench::GeneratedRegistry& generated,
                 const std::function<void(const bench::BenchSource&, const std::wstring&, const std::wstring&)>& visit) {
  for (const bench::BenchSource& source : generated.sources) {
    if (!source.measured) continue;
    Registry registry(scan.registry, source.root, access::Read | source.view);
    if (!registry.OpenKey(L"\\" + source.path)) continue;
    const bool values = source.items == ItemKind::Values;
    const auto names = values ? registry.GetValueNames() : registry.GetKeyNames();
    registry.CloseKey();
    for (const std::wstring& name : names) {
      if (values) visit(source, source.path, name);
      else visit(source, source.path + L"\\" + name + source.suffix, source.valueName);
    }
  }
}

void WriteValue(ScanFixture& scan, const bench::BenchSource& source, const std::wstring& keyPath,
                const std::wstring& name, const RegValue& value) {
  Registry registry(scan.registry, source.root, access::AllAccess | source.view);
  ASSERT_TRUE(registry.OpenKey(L"\\" + keyPath, true));
  registry.WriteValue(name, value);
}

// A scan of every category over a generated registry.
class ScanRobustnessTest : public ::testing::Test {
 protected:
  ScanRobustnessTest() {
    generated = bench::GenerateRegistry(scan.platform, kItems);
    for (const ScanCategory& category : ScanCategories()) scan.host.checked.insert(std::wstring(category.checkBoxName));
  }

  // Runs the scan and expects it to have ended by itself, without an error.
  void ScanToTheEnd() {
    scan.scanner.StartSearch();
    EXPECT_EQ(scan.scanner.State(), RunState::Idle);
    EXPECT_TRUE(RanWithoutError(scan.host));
  }
  bool Found(std::wstring_view part) const {
    return std::ranges::any_of(scan.findings.Rows(), [&](const Finding& f) {
      return f.keyPath.find(part) != std::wstring::npos || f.valueName.find(part) != std::wstring::npos;
    });
  }

  ScanFixture scan;
  bench::GeneratedRegistry generated;
};

TEST_F(ScanRobustnessTest, TheGeneratedRegistryGivesOneFindingForEachBrokenItem) {
  ScanToTheEnd();
  EXPECT_EQ(scan.findings.Size(), generated.broken);
}

TEST_F(ScanRobustnessTest, ValuesOfEveryTypeAndSizeWhereTextIsExpected) {
  const std::vector<std::uint8_t> nulInside{'C', 0, ':', 0, 0, 0, 'x', 0, 0, 0};
  const std::vector<RegValue> hostile{
      {regtype::None, {}},
      {regtype::Binary, {1, 2, 3}},
      {regtype::Dword, {7}},  // shorter than a number
      {regtype::Qword, std::vector<std::uint8_t>(8, 0xFF)},
      {regtype::MultiSz, {'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0}},
      {regtype::Link, {'\\', 0}},
      {regtype::ResourceList, {}},
      {regtype::Sz, {'C'}},  // an odd number of bytes
      {regtype::Sz, {}},
      {regtype::Sz, nulInside},
      {regtype::ExpandSz, std::vector<std::uint8_t>(1 << 20, 'A')},  // a megabyte without an end
      {0xFFFFFFFF, {1}},
  };
  std::size_t next = 0;
  ForEachItem(scan, generated, [&](const bench::BenchSource& source, const std::wstring& key, const std::wstring& name) {
    WriteValue(scan, source, key, name, hostile[next++ % hostile.size()]);
  });
  ScanToTheEnd();
}

TEST_F(ScanRobustnessTest, NamesAndDataAtTheRegistryLimits) {
  const std::wstring longKeyName(255, L'k');
  const std::wstring longValueName = L"C:\\" + std::wstring(16383 - 3, L'v');
  const std::wstring longData = L"C:\\QuillmereGone\\" + std::wstring(32767, L'd') + L".exe";
  for (const bench::BenchSource& source : generated.sources) {
    if (!source.measured) continue;
    if (source.items == ItemKind::Values)
      WriteValue(scan, source, source.path, longValueName, MakeStringValue(longData));
    else
      WriteValue(scan, source, source.path + L"\\" + longKeyName + source.suffix, source.valueName,
                 MakeStringValue(longData));
  }
  ScanToTheEnd();
  EXPECT_TRUE(Found(longKeyName));    // the services, for one
  EXPECT_TRUE(Found(longValueName));  // the shared libraries, for one
}

TEST_F(ScanRobustnessTest, KeysThatCannotBeOpenedArePassedOver) {
  // Every third item key, and the keys of two whole categories.
  std::size_t next = 0;
  ForEachItem(scan, generated, [&](const bench::BenchSource& source, const std::wstring& key, const std::wstring&) {
    if (source.items == ItemKind::SubKeys && next++ % 3 == 0)
      scan.registry.DenyAccess(source.root, key, ViewOfAccess(source.view));
  });
  for (const bench::BenchSource& source : generated.sources) {
    if (!source.path.ends_with(L"SharedDLLs") && !source.path.ends_with(L"Services")) continue;
    ASSERT_TRUE(scan.registry.DenyAccess(source.root, source.path, ViewOfAccess(source.view)));
  }
  ScanToTheEnd();
  EXPECT_GT(scan.findings.Size(), 0u);
  EXPECT_LT(scan.findings.Size(), generated.broken);
}

// Deletes a key of the generated registry at every n-th message pump: an item now,
// a whole source key later.
class DeletingHost : public RecordingScanHost {
 public:
  std::function<void()> onPump;
  void ProcessMessages() override {
    RecordingScanHost::ProcessMessages();
    if (onPump) onPump();
  }
};

TEST(ScanRobustness, KeysDeletedWhileTheScanRuns) {
  ScanFixture scan;
  DeletingHost host;
  Scanner scanner(scan.platform, host, scan.findings, scan.exclusions);
  host.scanner = &scanner;
  for (const ScanCategory& category : ScanCategories()) host.checked.insert(std::wstring(category.checkBoxName));
  const auto generated = bench::GenerateRegistry(scan.platform, kItems);

  std::vector<std::pair<const bench::BenchSource*, std::wstring>> doomed;  // keys to delete, in turn
  for (const bench::BenchSource& source : generated.sources) {
    Registry registry(scan.registry, source.root, access::Read | source.view);
    if (source.items == ItemKind::SubKeys && registry.OpenKey(L"\\" + source.path))
      for (const std::wstring& name : registry.GetKeyNames()) doomed.emplace_back(&source, source.path + L"\\" + name);
    doomed.emplace_back(&source, source.path);
  }
  std::size_t pumps = 0, deleted = 0;
  host.onPump = [&] {
    if (++pumps % 5 != 0 || deleted == doomed.size()) return;
    const auto& [source, key] = doomed[deleted++];
    scan.registry.DeleteTree(source->root, key, access::AllAccess | source->view);
  };
  scanner.StartSearch();
  EXPECT_EQ(scanner.State(), RunState::Idle);
  EXPECT_TRUE(RanWithoutError(host));
  EXPECT_GT(deleted, 0u);
}

}  // namespace

}  // namespace qm::testing
