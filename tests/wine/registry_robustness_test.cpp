// Scans of the real registry holding what a real machine can hold, in the keys the
// categories read: names at the registry's length limits, huge and malformed string
// data, values of every type where a string is expected, keys nobody may read, and keys
// deleted while the scan runs. Every scan ends by itself without an error and reports
// the broken entries it can read.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "exclusions/exclusion_list.h"
#include "platform/win32/unique_handle.h"
#include "registry_test_support.h"
#include "scan/findings_list.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"
#include "win32/windows_platform.h"

namespace qm::testing {

namespace {

constexpr std::uint32_t kAll64 = access::AllAccess64;
constexpr std::wstring_view kGone = L"C:\\QuillmereGone\\";
constexpr std::wstring_view kMarker = L"QuillmereRobust";

// Where a planted item sits: a subkey of the application paths (the tested text in its
// default value) or of the services (in "ImagePath"), a value of the shared libraries
// (its name is the path) or of the codecs' driver table (its data is the path).
enum class Place { AppPath, Service, SharedDll, Codec };

struct PlaceInfo {
  std::wstring_view key;  // below HKEY_LOCAL_MACHINE, 64-bit view
  bool subKeyItems;
  std::wstring_view valueName;  // of an item subkey
  std::wstring_view checkBox;
};

PlaceInfo InfoOf(Place place) {
  switch (place) {
    case Place::AppPath:
      return {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", true, L"", L"CheckBoxApplicationPaths"};
    case Place::Service: return {L"SYSTEM\\CurrentControlSet\\Services", true, L"ImagePath", L"CheckBoxServices"};
    case Place::SharedDll:
      return {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", false, L"", L"CheckBoxSharedDLLs"};
    case Place::Codec: return {L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32", false, L"", L"CheckBoxCodec"};
  }
  return {};
}

struct Item {
  std::string label;
  Place place;
  std::wstring name;  // the subkey or the value
  RegValue value;
  bool reported;
};

std::wstring ItemKey(const Item& item) {
  const PlaceInfo info = InfoOf(item.place);
  return info.subKeyItems ? std::wstring(info.key) + L"\\" + item.name : std::wstring(info.key);
}

RegValue Text(std::wstring_view text, std::uint32_t type = regtype::Sz) { return MakeStringValue(text, type); }
std::wstring Gone(std::wstring_view file) { return std::wstring(kGone) + std::wstring(file); }

// Puts items into the keys the categories read, and takes them out again when the test
// ends however it ends.
class PlantedItems {
 public:
  explicit PlantedItems(Win32Registry& registry) : registry_(registry) {}
  ~PlantedItems() {
    for (const Item& item : items_) {
      if (InfoOf(item.place).subKeyItems) {
        registry_.DeleteTree(RootKey::LocalMachine, ItemKey(item), kAll64);
      } else if (auto key = registry_.Open(RootKey::LocalMachine, ItemKey(item), kAll64)) {
        registry_.DeleteValue(*key, item.name);
      }
    }
  }
  PlantedItems(const PlantedItems&) = delete;
  PlantedItems& operator=(const PlantedItems&) = delete;

  void Plant(const Item& item) {
    items_.push_back(item);
    const PlaceInfo info = InfoOf(item.place);
    const std::wstring valueName(info.subKeyItems ? info.valueName : item.name);
    MakeKey(registry_, RootKey::LocalMachine, ItemKey(item), kAll64, {{valueName, item.value}});
  }

 private:
  Win32Registry& registry_;
  std::vector<Item> items_;
};

// Denies everyone the reading of a key's values and subkeys until the test ends; then
// the key's own access list comes back.
class ReadDenied {
 public:
  explicit ReadDenied(const std::wstring& path) {
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, key_.put()),
              ERROR_SUCCESS);
    DWORD size = 0;
    RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    EXPECT_EQ(RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size), ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, DenyingReads()), ERROR_SUCCESS);
  }
  ~ReadDenied() { RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data()); }
  ReadDenied(const ReadDenied&) = delete;
  ReadDenied& operator=(const ReadDenied&) = delete;

 private:
  // A security descriptor whose access list denies everyone the reading of values and
  // subkeys and allows everything else.
  PSECURITY_DESCRIPTOR DenyingReads() {
    constexpr DWORD kDenied = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | KEY_NOTIFY;
    DWORD sidSize = SECURITY_MAX_SID_SIZE;
    everyone_.resize(sidSize);
    CreateWellKnownSid(WinWorldSid, nullptr, everyone_.data(), &sidSize);
    acl_.resize(sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) + sidSize));
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION);
    AddAccessDeniedAce(acl, ACL_REVISION, kDenied, everyone_.data());
    AddAccessAllowedAce(acl, ACL_REVISION, KEY_ALL_ACCESS, everyone_.data());
    descriptor_.resize(SECURITY_DESCRIPTOR_MIN_LENGTH);
    InitializeSecurityDescriptor(descriptor_.data(), SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(descriptor_.data(), TRUE, acl, FALSE);
    return descriptor_.data();
  }

  UniqueHkey key_;
  std::vector<std::uint8_t> saved_, everyone_, acl_, descriptor_;
};

// Keeps a key that holds only values and brings it back as it was when the test ends,
// for tests that delete it.
class SavedValuesKey {
 public:
  SavedValuesKey(Win32Registry& registry, std::wstring path) : registry_(registry), path_(std::move(path)) {
    auto key = registry_.Open(RootKey::LocalMachine, path_, access::Read64);
    EXPECT_TRUE(key && registry_.SubKeyNames(*key).empty()) << "the key must exist and hold values only";
    values_ = ValuesOf(registry_, RootKey::LocalMachine, path_, access::Read64);
  }
  ~SavedValuesKey() {
    registry_.DeleteTree(RootKey::LocalMachine, path_, kAll64);
    auto key = registry_.Create(RootKey::LocalMachine, path_, kAll64);
    for (const auto& [name, value] : values_) registry_.SetValue(*key, name, value);
  }
  SavedValuesKey(const SavedValuesKey&) = delete;
  SavedValuesKey& operator=(const SavedValuesKey&) = delete;

 private:
  Win32Registry& registry_;
  std::wstring path_;
  std::map<std::wstring, RegValue> values_;
};

// A window that shows nothing: the chosen categories are checked, errors are kept,
// and each message pump may run the test's action.
class QuietScanHost : public ScanHost {
 public:
  std::set<std::wstring, std::less<>> checked;
  std::vector<std::wstring> errors;
  std::wstring shownItem;  // status panel 1
  std::function<void()> onPump;

  void SetProgressMaximum(int value) override { maximum_ = value; }
  int ProgressMaximum() const override { return maximum_; }
  void SetProgressPosition(int) override {}
  void SetStatusText(StatusPanel panel, std::wstring_view text) override {
    if (panel == StatusPanel::Item) shownItem = text;
  }
  void ShowTotal(std::size_t) override {}
  void FindingsCleared() override {}
  void FindingAdded(const FindingsList&, std::size_t) override {}
  void FitColumns() override {}
  void ProcessMessages() override {
    if (onPump) onPump();
  }
  bool IsCategoryChecked(std::wstring_view name) override { return checked.contains(name); }
  std::wstring CategoryCaption(std::wstring_view name) override { return std::wstring(name); }
  void SetCategoryRunning(std::wstring_view, bool) override {}
  void SetFixEnabled(bool) override {}
  void SetMenusEnabled(bool) override {}
  void ShowRunning(bool) override {}
  void ReportError(std::wstring_view message) override { errors.emplace_back(message); }

 private:
  int maximum_ = 0;
};

class ScanOfARealMachineRegistry : public ::testing::Test {
 protected:
  void Plant(const std::vector<Item>& items) {
    for (const Item& item : items) ASSERT_NO_FATAL_FAILURE(planted.Plant(item)) << item.label;
  }

  // Runs the categories of the places; the run must end by itself, without an error.
  void Scan(std::initializer_list<Place> places) {
    for (Place place : places) host.checked.emplace(InfoOf(place).checkBox);
    Scanner scanner(windows.Get(), host, findings, exclusions);
    scanner.StartSearch();
    EXPECT_EQ(scanner.State(), RunState::Idle);
    EXPECT_EQ(host.errors, std::vector<std::wstring>{});
  }

  bool Reported(const Item& item) const {
    const PlaceInfo info = InfoOf(item.place);
    const std::wstring itemKeyPath = L"\\" + ItemKey(item) + L"\\";
    return std::ranges::any_of(findings.Rows(), [&](const Finding& finding) {
      return info.subKeyItems ? finding.keyPath == itemKeyPath : finding.valueName == item.name;
    });
  }

  void ExpectReportedAsTheTableSays(const std::vector<Item>& items) const {
    for (const Item& item : items) EXPECT_EQ(Reported(item), item.reported) << item.label;
  }

  WindowsPlatform windows;
  Win32Registry registry;
  PlantedItems planted{registry};
  QuietScanHost host;
  FindingsList findings;
  ExclusionList exclusions;
};

}  // namespace

TEST_F(ScanOfARealMachineRegistry, NamesAndDataAtTheLimitsAndValuesOfEveryType) {
  const std::wstring longKeyName = std::wstring(kMarker) + std::wstring(255 - kMarker.size(), L'k');
  const std::wstring longValueName = Gone(std::wstring(kMarker) + std::wstring(16383 - kGone.size() - kMarker.size() - 4, L'v') + L".dll");
  const std::wstring megabyte(1 << 20, L'm');
  const std::vector<Item> items{
      {"255-character key name", Place::AppPath, longKeyName, Text(Gone(L"long.exe")), true},
      {"255-character key name", Place::Service, longKeyName, Text(Gone(L"long.exe")), true},
      {"16,383-character value name", Place::SharedDll, longValueName, MakeDwordValue(1), true},
      {"a megabyte of text", Place::Codec, L"msacm.quillmererobust1", Text(Gone(megabyte + L".acm")), true},
      {"a megabyte without a terminating NUL", Place::AppPath, L"QuillmereRobustHuge.exe",
       {regtype::ExpandSz, Utf16WithoutNul(Gone(megabyte + L".exe"))}, true},
      {"a NUL after a missing file", Place::Codec, L"msacm.quillmererobust2",
       {regtype::Sz, Joined(Utf16(Gone(L"a.acm")), Utf16(L"C:\\Windows\\regedit.exe"))}, true},
      {"a NUL after a present file", Place::AppPath, L"QuillmereRobustNul.exe",
       {regtype::Sz, Joined(Utf16(L"C:\\Windows\\regedit.exe"), Utf16(Gone(L"b.exe")))}, false},
      {"no terminating NUL", Place::Service, L"QuillmereRobustNoNul", {regtype::Sz, Utf16WithoutNul(Gone(L"c.exe"))}, true},
      {"an odd number of bytes", Place::Codec, L"msacm.quillmererobust3",
       {regtype::Sz, Joined(Utf16(Gone(L"d.acm")), {'x'})}, true},
      {"an odd number of bytes and no NUL", Place::Service, L"QuillmereRobustOdd",
       {regtype::Sz, Joined(Utf16WithoutNul(Gone(L"e.exe")), {'x'})}, true},
      {"REG_SZ without data", Place::Service, L"QuillmereRobustEmpty", {regtype::Sz, {}}, false},
      {"REG_DWORD", Place::Service, L"QuillmereRobustDword", MakeDwordValue(7), false},
      {"REG_DWORD of two bytes", Place::Codec, L"msacm.quillmererobust4", {regtype::Dword, {1, 2}}, false},
      {"REG_QWORD", Place::Service, L"QuillmereRobustQword", {regtype::Qword, Bytes(8, 0xFF)}, false},
      {"REG_BINARY holding a path", Place::Service, L"QuillmereRobustBinary", {regtype::Binary, Utf16(Gone(L"f.exe"))},
       false},
      {"REG_MULTI_SZ", Place::Service, L"QuillmereRobustMulti",
       {regtype::MultiSz, Joined(Utf16(Gone(L"g.exe")), {0, 0})}, false},
      {"REG_MULTI_SZ default value", Place::AppPath, L"QuillmereRobustMulti.exe",
       {regtype::MultiSz, Joined(Utf16(Gone(L"h.exe")), {0, 0})}, false},
      {"REG_NONE holding a path", Place::Codec, L"msacm.quillmererobust5", {regtype::None, Utf16(Gone(L"i.acm"))}, false},
      {"REG_NONE without data", Place::Service, L"QuillmereRobustNone", {regtype::None, {}}, false},
      {"REG_EXPAND_SZ where only REG_SZ is read", Place::Codec, L"msacm.quillmererobust6",
       Text(Gone(L"j.acm"), regtype::ExpandSz), false},
  };
  Plant(items);
  Scan({Place::AppPath, Place::SharedDll, Place::Codec, Place::Service});
  ExpectReportedAsTheTableSays(items);
}

TEST_F(ScanOfARealMachineRegistry, KeysThatCannotBeReadArePassedOverAndTheRestIsReported) {
  const std::vector<Item> items{
      {"readable item key", Place::AppPath, L"QuillmereRobustOpen.exe", Text(Gone(L"open.exe")), true},
      {"unreadable item key", Place::AppPath, L"QuillmereRobustDenied.exe", Text(Gone(L"denied.exe")), false},
      {"in the unreadable category key", Place::Codec, L"msacm.quillmererobustdenied", Text(Gone(L"denied.acm")), false},
      {"readable item key", Place::Service, L"QuillmereRobustOpen", Text(Gone(L"open.exe")), true},
      {"unreadable item key", Place::Service, L"QuillmereRobustDenied", Text(Gone(L"denied.exe")), false},
  };
  Plant(items);
  std::vector<std::unique_ptr<ReadDenied>> denied;
  for (const std::wstring& key : {ItemKey(items[1]), ItemKey(items[2]), ItemKey(items[4])}) {
    denied.push_back(std::make_unique<ReadDenied>(key));
    UniqueHkey probe;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, probe.put()),
              ERROR_ACCESS_DENIED)
        << "the registry lets the key be read: " << ToUtf8(key);
  }
  Scan({Place::AppPath, Place::Codec, Place::Service});
  ExpectReportedAsTheTableSays(items);
}

// While the scan runs: the application path after every even one goes just before its
// turn, every even service goes while it is shown (its key already listed), and the
// codecs' whole driver table goes, open, while its first planted value is shown.
TEST_F(ScanOfARealMachineRegistry, KeysDeletedWhileTheScanRunsAreSkippedAndTheRestIsReported) {
  constexpr int kEach = 6;
  std::vector<Item> items;
  for (int i = 0; i < kEach; ++i) {
    const std::wstring n = std::to_wstring(i);
    items.push_back({"application path " + std::to_string(i), Place::AppPath, L"QuillmereRobustGoing" + n + L".exe",
                     Text(Gone(L"app" + n + L".exe")), i % 2 == 0});
    items.push_back({"service " + std::to_string(i), Place::Service, L"QuillmereRobustGoing" + n,
                     Text(Gone(L"service" + n + L".exe")), i % 2 == 1});
    items.push_back({"codec " + std::to_string(i), Place::Codec, L"msacm.quillmererobustgoing" + n,
                     Text(Gone(L"codec" + n + L".acm")), i == 0});
  }
  Plant(items);
  const std::wstring drivers32(InfoOf(Place::Codec).key);
  const SavedValuesKey savedDrivers32(registry, drivers32);
  std::map<std::wstring, std::wstring> deleteWhenShown;
  for (int i = 0; i < kEach; i += 2) {
    const std::wstring n = std::to_wstring(i);
    deleteWhenShown[Gone(L"app" + n + L".exe")] = ItemKey(items[3 * (i + 1)]);
    deleteWhenShown[L"\\" + ItemKey(items[3 * i + 1]) + L"\\"] = ItemKey(items[3 * i + 1]);
  }
  deleteWhenShown[Gone(L"codec0.acm")] = drivers32;
  std::size_t deleted = 0;
  host.onPump = [&] {
    const auto doomed = deleteWhenShown.find(host.shownItem);
    if (doomed == deleteWhenShown.end()) return;
    if (registry.DeleteTree(RootKey::LocalMachine, doomed->second, kAll64)) ++deleted;
    deleteWhenShown.erase(doomed);
  };
  Scan({Place::AppPath, Place::Codec, Place::Service});
  EXPECT_EQ(deleted, 2u * (kEach / 2) + 1);
  ExpectReportedAsTheTableSays(items);
}

}  // namespace qm::testing
