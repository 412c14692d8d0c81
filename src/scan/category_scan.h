#pragma once
// What every scan category shares: the stop flag, its registry reads, the progress
// bar, the status bar, path tests and the way a finding is added. A category file
// holds only what is particular to it and builds on these steps:
//
//   void SharedDLLs(CategoryScan& scan) {
//     if (scan.Stopped()) return;
//     Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
//     scan.ScanKeyItems(registry, kKey, ItemKind::Values, ProgressRule::Count,
//                       [&](const std::wstring& name) { ...; scan.Report(registry, {...}, {name}); });
//   }
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/registry.h"
#include "scan/findings_list.h"
#include "scan/run_folders.h"

namespace qm {

enum class DriveType : std::uint32_t;
class ExclusionList;
class FileSystem;
class ScanHost;
struct ScanCategory;

// The state of a run that its categories share.
struct ScanSession {
  const Platform& platform;
  ScanHost& host;
  FindingsList& findings;
  const ExclusionList& exclusions;
  bool stopRequested = false;
  // The type of each drive part asked so far in this run, by upper-case drive part:
  // asking Windows costs far more than the rest of a path test.
  std::map<std::wstring, DriveType> driveTypes;
  // The special folders and the Windows folder, asked once per run.
  RunFolders folders{platform.shell};
};

// Whether the items of a key are its subkeys or its values.
enum class ItemKind { SubKeys, Values };

// A key whose items a category walks: any struct with these three members, plus
// whatever else the category keeps with it (a suffix, a test, a label).
template <class S>
concept ItemSource = requires(const S& source) {
  { source.root } -> std::convertible_to<RootKey>;
  { source.path } -> std::convertible_to<std::wstring_view>;
  { source.items } -> std::convertible_to<ItemKind>;
};

// A key whose items a category walks, when the category keeps nothing else with it.
struct SourceKey {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
};

// How the progress maximum follows from the number of items n.
enum class ProgressRule {
  Count,               // n
  CountMinusOne,       // n - 1; with no items the maximum stays as it was
  TwiceCountMinusOne,  // 2n - 1, also with no items (then -1)
};

// The value types a category reads as text.
enum class TextTypes {
  StringOrExpandString,  // REG_SZ and REG_EXPAND_SZ
  StringOnly,            // REG_SZ
};

// The columns of a finding that a category chooses; the root key, the view and the
// category caption come from the scan.
struct FoundEntry {
  std::wstring keyPath;
  std::wstring valueName;
  std::wstring valueData;
  FindingAction action = FindingAction::DeleteKey;
};

class CategoryScan {
 public:
  CategoryScan(const ScanCategory& category, ScanSession& session);

  // The stop flag: true once Stop was pressed. Test it where the category's steps say.
  bool Stopped() const { return session_.stopRequested; }

  // --- registry
  Registry NewRegistry(RootKey root, std::uint32_t accessMask) const;
  // Opens the key, reads its subkey or value names and closes it again. Nothing when
  // the key does not open or the stop flag is set before the open, after it or after
  // the names are read.
  std::optional<std::vector<std::wstring>> ReadItemNames(Registry& registry, std::wstring_view keyPath,
                                                         ItemKind kind) const;
  // The text of a value of the open key, cut at the first NUL and not expanded.
  // Nothing when the value is missing or of another type: the category passes such a
  // value over, where reading it as a string would fail and end the run.
  static std::optional<std::wstring> ReadText(Registry& registry, std::wstring_view valueName,
                                              TextTypes types = TextTypes::StringOrExpandString);
  // ReadText of REG_SZ values only.
  static std::optional<std::wstring> ReadPlainString(Registry& registry, std::wstring_view name) {
    return ReadText(registry, name, TextTypes::StringOnly);
  }
  // The same for a value of the key at `keyPath`, opened for the read and closed again;
  // nothing when the key does not open.
  static std::optional<std::wstring> ReadPlainString(Registry& registry, std::wstring_view keyPath,
                                                     std::wstring_view name);
  // The open key has neither subkeys nor values (a set default value counts as a
  // value); false when its information cannot be read.
  static bool KeyIsEmpty(Registry& registry);
  // Opens the key, runs use() while it is open and closes it again. Nothing runs when
  // the stop flag is set before the open or after it, or the key does not open.
  template <class Use>
  void WithOpenKey(Registry& registry, std::wstring_view keyPath, Use&& use) const;

  // --- progress (the taskbar button follows the bar)
  // Sets the maximum by the rule, the bar to 0 and the running item number to 0.
  void StartProgress(std::size_t itemCount, ProgressRule rule);
  // Sets the bar to the running item number, which then goes up by one.
  void StepProgress();
  // Sets the bar to the item number `index`; the running number goes on from there.
  void StepProgressTo(std::size_t index);
  // Moves the bar one further than it stands.
  void AdvanceProgress();
  // Sets the bar to its maximum unless the stop flag is set.
  void FinishProgress();

  // --- status bar and message pumping
  const std::wstring& Caption() const { return caption_; }
  // Unless stopped: panel 0 shows the caption, panel 1 the item; then messages run.
  void ShowItem(std::wstring_view item);
  // Unless stopped: both panels with texts of the category's choice; then messages run.
  void ShowStatus(std::wstring_view categoryText, std::wstring_view item);
  void ProcessMessages();

  // --- files, paths and text
  FileSystem& Files() const;
  std::wstring RunPath(std::wstring_view data) const;
  std::wstring SpecialFolderPath(int folderNumber) const;
  // The type of the drive of a drive part ("C:"), asked once per run and drive.
  DriveType DriveTypeOf(std::wstring_view drivePart) const;
  // The drive part of the path is a removable (2) or CD-ROM (5) drive.
  bool OnRemovableOrCdRom(std::wstring_view path) const;
  // PathExists (FolderExists) for the path, or for the path with every "(x86)" cut out
  // (exact case, nothing put in its place) when it has one.
  bool PathExistsWithOrWithoutX86(std::wstring_view path) const;
  bool FolderExistsWithOrWithoutX86(std::wstring_view path) const;
  std::wstring LocaleLower(std::wstring_view text) const;
  std::wstring LocaleUpper(std::wstring_view text) const;

  // --- findings
  bool IsExcluded(std::wstring_view candidate) const;
  // Adds the finding, made through `where` (its root key and view), unless the stop
  // flag is set or a candidate is excluded; the candidates are asked in order. The
  // row is appended checked, shown, the totals updated and messages let run.
  // True when it was added.
  bool Report(const Registry& where, FoundEntry entry, std::initializer_list<std::wstring_view> candidates);

  // One value of the open key whose text names a file, the value name being the only
  // exclusion candidate: the text is read as ReadText reads it (a value passed over
  // there is passed over here) and shown, and unless isPresent(text) holds the value
  // is reported for deletion, under the key path `findingKey`.
  template <class IsPresent>
  void TestFileValue(Registry& registry, std::wstring_view findingKey, const std::wstring& valueName, TextTypes types,
                     IsPresent&& isPresent);

  // --- item loops
  // For each name while not stopped: StepProgress, then test(name).
  template <class Test>
  void ForEachItem(const std::vector<std::wstring>& names, Test&& test);

  // One key's items with one progress run: reads the names, starts the progress by
  // the rule, walks them with ForEachItem and finishes the progress. Ends quietly
  // when the key does not open or on a stop before the walk.
  template <class Test>
  void ScanKeyItems(Registry& registry, std::wstring_view keyPath, ItemKind kind, ProgressRule rule, Test&& test);

  // Several keys with one progress run over all their items: a counting pass (a
  // stop in it ends the category), the maximum set to the total - 1, then for each
  // source a fresh registry object with the source's root key, its names read
  // again and walked with ForEachItem, calling test(source, registry, name); the
  // progress is finished at the end unless stopped. Sources that do not open are
  // passed over.
  template <std::ranges::input_range Sources, class Test>
    requires ItemSource<std::ranges::range_value_t<Sources>>
  void ScanSources(const Sources& sources, std::uint32_t accessMask, Test&& test);

  // The number of items of each source added up; nothing on a stop.
  template <std::ranges::input_range Sources>
    requires ItemSource<std::ranges::range_value_t<Sources>>
  std::optional<std::size_t> CountItems(const Sources& sources, std::uint32_t accessMask) const;

 private:
  std::size_t CountKeyItems(RootKey root, std::wstring_view keyPath, ItemKind kind, std::uint32_t accessMask) const;

  ScanSession& session_;
  std::wstring caption_;
  int itemNumber_ = 0;
};

template <class IsPresent>
void CategoryScan::TestFileValue(Registry& registry, std::wstring_view findingKey, const std::wstring& valueName,
                                 TextTypes types, IsPresent&& isPresent) {
  const auto text = ReadText(registry, valueName, types);
  if (!text) return;
  ShowItem(*text);
  if (isPresent(*text)) return;
  Report(registry, {std::wstring(findingKey), valueName, *text, FindingAction::DeleteValue}, {valueName});
}

template <class Use>
void CategoryScan::WithOpenKey(Registry& registry, std::wstring_view keyPath, Use&& use) const {
  if (Stopped() || !registry.OpenKey(keyPath)) return;
  if (!Stopped()) use();
  registry.CloseKey();
}

template <class Test>
void CategoryScan::ForEachItem(const std::vector<std::wstring>& names, Test&& test) {
  for (const std::wstring& name : names) {
    if (Stopped()) return;
    StepProgress();
    test(name);
  }
}

template <class Test>
void CategoryScan::ScanKeyItems(Registry& registry, std::wstring_view keyPath, ItemKind kind, ProgressRule rule,
                                Test&& test) {
  auto names = ReadItemNames(registry, keyPath, kind);
  if (!names) return;
  StartProgress(names->size(), rule);
  ForEachItem(*names, test);
  FinishProgress();
}

template <std::ranges::input_range Sources>
  requires ItemSource<std::ranges::range_value_t<Sources>>
std::optional<std::size_t> CategoryScan::CountItems(const Sources& sources, std::uint32_t accessMask) const {
  std::size_t total = 0;
  for (const auto& source : sources) {
    if (Stopped()) return std::nullopt;
    total += CountKeyItems(source.root, source.path, source.items, accessMask);
  }
  if (Stopped()) return std::nullopt;
  return total;
}

template <std::ranges::input_range Sources, class Test>
  requires ItemSource<std::ranges::range_value_t<Sources>>
void CategoryScan::ScanSources(const Sources& sources, std::uint32_t accessMask, Test&& test) {
  auto total = CountItems(sources, accessMask);
  if (!total) return;
  StartProgress(*total, ProgressRule::CountMinusOne);
  for (const auto& source : sources) {
    if (Stopped()) return;
    Registry registry = NewRegistry(source.root, accessMask);
    auto names = ReadItemNames(registry, source.path, source.items);
    if (!names) continue;
    ForEachItem(*names, [&](const std::wstring& name) { test(source, registry, name); });
  }
  FinishProgress();
}

}  // namespace qm
