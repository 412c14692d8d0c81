// The repair over the substitute platform: the backup it writes before anything is
// deleted, what it deletes and in which view, and what it never touches.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/platform.h"
#include "platform/reg_file.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/substitute/substitute_shell.h"
#include "repair/backup.h"
#include "repair/protected_keys.h"
#include "repair/repair.h"
#include "repair/repair_host.h"
#include "scan/findings_list.h"
#include "temp_folder.h"

namespace qm::testing {

namespace {

const std::filesystem::path kFixtures = std::filesystem::path(QM_FIXTURES) / "repair";
constexpr std::wstring_view kBackupFolder = L"C:\\Program Files (x86)\\Quillmere\\backup\\";
constexpr std::wstring_view kFirstBackup = L"C:\\Program Files (x86)\\Quillmere\\backup\\RarOvozu_2024-01-02_03-04-05.reg";
constexpr std::wstring_view kReadyText = L"Ready (from the host)";

Bytes ReadHostFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class RecordingRepairHost : public RepairHost {
 public:
  int maximum = -100;
  std::vector<int> positions;
  std::wstring status[2] = {L"left by the scan", L"item"};
  std::size_t total = 99;
  std::size_t shown = 0;
  std::size_t removed = 0;

  void SetProgressMaximum(int value) override { maximum = value; }
  void SetProgressPosition(int value) override { positions.push_back(value); }
  void SetStatusText(StatusPanel panel, std::wstring_view text) override { status[static_cast<int>(panel)] = text; }
  void ShowTotal(std::size_t rowCount) override { total = rowCount; }
  void ProcessMessages() override {}
  void ShowFinding(std::size_t index) override { shown += index == 0; }
  void FindingRemoved(std::size_t index) override { removed += index == 0; }
  std::wstring ReadyText() override { return std::wstring(kReadyText); }
};

struct Row {
  RootKey root;
  std::wstring keyPath;
  std::wstring valueName;
  FindingAction action;
  RegView view = RegView::Bits64;
  bool checked = true;
};

// The substitute platform with C: on a temporary folder and D: a CD-ROM drive
// without a disc; the program in C:\Program Files (x86)\Quillmere.
class RepairTest : public ::testing::Test {
 protected:
  RepairTest() {
    files.MapDrive(L'C', driveC.path());
    files.AddEmptyDrive(L'D');
  }

  void LoadFixtureRegistry() { registry.LoadRegFile(kFixtures / "registry.reg", locale); }

  void AddRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      const std::size_t index = findings.Add({row.root, row.keyPath, row.valueName, L"data", L"category", row.action,
                                              row.view});
      findings.SetChecked(index, row.checked);
    }
  }

  // A row of every kind the fixture registry has, in the order the expected backup
  // lists them, with rows that give nothing in between.
  void AddFixtureRows() {
    const std::wstring values = L"\\SOFTWARE\\QuillmereRepair\\Values\\";
    for (const wchar_t* name : {L"", L"Path \"quoted\" \\ name", L"Lines", L"Юникод", L"Empty", L"Expand", L"Multi"})
      AddRows({{RootKey::LocalMachine, values, name, FindingAction::DeleteValue}});
    AddRows({
        {RootKey::LocalMachine, values, L"Kept", FindingAction::DeleteValue, RegView::Bits64, false},
        {RootKey::LocalMachine, values, L"Missing", FindingAction::DeleteValue},
    });
    for (const wchar_t* name : {L"Dword", L"Big endian", L"Qword", L"Binary", L"Empty binary", L"None", L"Unknown type"})
      AddRows({{RootKey::LocalMachine, values, name, FindingAction::DeleteValue}});
    AddRows({
        {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair\\Tree\\", L"Top", FindingAction::DeleteKey},
        {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair\\NoSuchKey\\", L"", FindingAction::DeleteKey},
        {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\", L"",
         FindingAction::DeleteKey},
        {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereEmpty\\", L"", FindingAction::DeleteKey, RegView::Bits32},
        {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair32\\", L"Only32", FindingAction::DeleteValue,
         RegView::Bits32},
        {RootKey::LocalMachine, L"\\SOFTWARE\\", L"", FindingAction::DeleteKey, RegView::Bits32},
        {RootKey::CurrentUser, L"\\AppEvents\\Schemes\\Apps\\.Default\\QuillmereGone\\.Current\\", L"",
         FindingAction::DeleteValue},
    });
  }

  // The registry branches the fixture touches, each key's values sorted by name: the
  // registry keeps values in the order they were written, which an import changes.
  RegFile Snapshot() {
    RegFile snapshot = ParseRegText(registry.ExportRegText(RootKey::LocalMachine, L"SOFTWARE", RegView::Bits64), locale);
    const RegFile user = ParseRegText(registry.ExportRegText(RootKey::CurrentUser, L"AppEvents", RegView::Bits64), locale);
    snapshot.keys.insert(snapshot.keys.end(), user.keys.begin(), user.keys.end());
    for (RegFileKey& key : snapshot.keys)
      std::ranges::sort(key.values, {}, [](const RegFileValue& value) { return value.name; });
    return snapshot;
  }

  std::optional<RegValue> ValueOf(RootKey root, std::wstring_view path, std::wstring_view name, RegView view) {
    Registry reader(registry, root, access::Read | ViewBits(view));
    if (!reader.OpenKey(path)) return std::nullopt;
    return reader.ReadRaw(name);
  }

  bool KeyExists(RootKey root, std::wstring_view path, RegView view) {
    return Registry(registry, root, access::Read | ViewBits(view)).KeyExists(path);
  }

  RepairResult RunRepair() { return Repair(platform, host, findings, kBackupFolder); }

  TempFolder driveC;
  SubstituteRegistry registry;
  SubstituteFileSystem files;
  SubstituteShell shell;
  SubstituteLocale locale;
  FixedClock clock;
  Platform platform{registry, files, shell, locale, clock};
  FindingsList findings;
  RecordingRepairHost host;
};

}  // namespace

TEST_F(RepairTest, BackupHoldsWhatIsDeletedByteForByteAsTheRegistryEditorExportsIt) {
  LoadFixtureRegistry();
  AddFixtureRows();
  const RepairResult result = RunRepair();

  EXPECT_EQ(result.backupFile, kFirstBackup);
  EXPECT_EQ(BackupFolder(shell), kBackupFolder);
  const auto written = files.ReadFile(result.backupFile);
  ASSERT_TRUE(written);
  EXPECT_TRUE(*written == ReadHostFile(kFixtures / "backup_expected.reg"))
      << "written:\n" << ToUtf8(DecodeText(*written, locale).text);
  EXPECT_EQ(result.deletedKeys, 2u);
  EXPECT_EQ(result.deletedValues, 16u);
}

TEST_F(RepairTest, DeletesWhatCheckedRowsNameInTheirViewAndEmptiesTheList) {
  LoadFixtureRegistry();
  AddFixtureRows();
  const std::size_t rows = findings.Size();
  RunRepair();

  Registry values(registry, RootKey::LocalMachine, access::Read64);
  ASSERT_TRUE(values.OpenKey(L"\\SOFTWARE\\QuillmereRepair\\Values"));
  EXPECT_EQ(values.GetValueNames(), std::vector<std::wstring>{L"Kept"});  // its row was unchecked
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair\\Tree", RegView::Bits64));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair", RegView::Bits64));
  // The 32-bit rows took the 32-bit keys; their 64-bit namesakes keep their data.
  EXPECT_FALSE(KeyExists(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereEmpty", RegView::Bits32));
  EXPECT_EQ(ValueOf(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereEmpty", L"Keep", RegView::Bits64),
            MakeStringValue(L"64-bit data"));
  EXPECT_FALSE(ValueOf(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair32", L"Only32", RegView::Bits32));
  EXPECT_EQ(ValueOf(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair32", L"Only32", RegView::Bits64),
            MakeStringValue(L"64"));
  // A default value goes, its key stays; the container keys stay whatever the rows said.
  const std::wstring sound = L"\\AppEvents\\Schemes\\Apps\\.Default\\QuillmereGone\\.Current";
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, sound, RegView::Bits64));
  EXPECT_FALSE(ValueOf(RootKey::CurrentUser, sound, L"", RegView::Bits64));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Present.exe",
                        RegView::Bits64));
  EXPECT_TRUE(KeyExists(RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair32", RegView::Bits32));

  EXPECT_TRUE(findings.Empty());
  EXPECT_EQ(host.removed, rows);
  EXPECT_EQ(host.shown, rows);
  EXPECT_EQ(host.maximum, static_cast<int>(rows) - 1);
  ASSERT_EQ(host.positions.size(), rows + 1);
  EXPECT_EQ(host.positions.front(), 0);
  EXPECT_EQ(host.positions.back(), static_cast<int>(rows));
  EXPECT_EQ(host.status[0], kReadyText);
  EXPECT_EQ(host.total, 0u);
}

TEST_F(RepairTest, ImportingTheBackupPutsEveryDeletedKeyAndValueBack) {
  LoadFixtureRegistry();
  AddFixtureRows();
  const RegFile before = Snapshot();
  const RepairResult result = RunRepair();
  ASSERT_NE(Snapshot(), before);

  registry.Import(ParseRegFile(*files.ReadFile(result.backupFile), locale));
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(RepairTest, UncheckedRowsLeaveTheListWithoutTouchingTheRegistry) {
  LoadFixtureRegistry();
  AddRows({
      {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair\\Tree\\", L"", FindingAction::DeleteKey, RegView::Bits64,
       false},
      {RootKey::LocalMachine, L"\\SOFTWARE\\QuillmereRepair\\Values\\", L"Dword", FindingAction::DeleteValue,
       RegView::Bits64, false},
  });
  const RegFile before = Snapshot();
  const RepairResult result = RunRepair();

  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(findings.Empty());
  EXPECT_EQ(result.deletedKeys + result.deletedValues, 0u);
  EXPECT_EQ(files.ReadFile(result.backupFile), EncodeRegFileText(FormatRegFileHeader()));
  EXPECT_EQ(host.maximum, 1);
}

TEST_F(RepairTest, RepairsWithinOneSecondNeverReplaceABackup) {
  LoadFixtureRegistry();
  AddFixtureRows();
  EXPECT_EQ(RunRepair().backupFile, kFirstBackup);
  const std::wstring stem = std::wstring(kBackupFolder) + L"RarOvozu_2024-01-02_03-04-05";
  files.WriteFile(stem + L"_3.reg", {'o', 'l', 'd'});

  EXPECT_EQ(RunRepair().backupFile, stem + L"_2.reg");
  EXPECT_EQ(RunRepair().backupFile, stem + L"_4.reg");
  EXPECT_TRUE(*files.ReadFile(std::wstring(kFirstBackup)) == ReadHostFile(kFixtures / "backup_expected.reg"));
  EXPECT_EQ(files.ReadFile(stem + L"_3.reg"), (Bytes{'o', 'l', 'd'}));

  clock.Set({2025, 11, 9, 17, 5, 0});
  EXPECT_EQ(RunRepair().backupFile, std::wstring(kBackupFolder) + L"RarOvozu_2025-11-09_17-05-00.reg");
}

TEST_F(RepairTest, BackupThatCannotBeWrittenStopsTheRepairBeforeAnyDeletion) {
  LoadFixtureRegistry();
  files.WriteFile(L"C:\\a file", {'x'});
  for (const std::wstring folder : {L"D:\\backup\\", L"C:\\a file\\backup"}) {
    SCOPED_TRACE(ToUtf8(folder));
    findings.Clear();
    AddFixtureRows();
    const RegFile before = Snapshot();
    const std::size_t rows = findings.Size();
    host.positions.clear();
    const std::wstring file = folder + (folder.ends_with(L'\\') ? L"" : L"\\") + L"RarOvozu_2024-01-02_03-04-05.reg";
    try {
      Repair(platform, host, findings, folder);
      ADD_FAILURE() << "the repair went on without its backup";
    } catch (const Error& error) {
      const std::wstring expected = L"Cannot create file \"" + file + L"\". ";
      EXPECT_TRUE(error.Message().starts_with(expected)) << ToUtf8(error.Message());
      EXPECT_GT(error.Message().size(), expected.size());  // the system's reason follows
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(findings.Size(), rows);
    EXPECT_TRUE(host.positions.empty());
    EXPECT_FALSE(files.PathExists(file));
  }
}

TEST(ProtectedKeys, RootsAndWalkedKeysAndWhatHoldsThemAreNeverDeleted) {
  struct Case {
    RootKey root;
    std::wstring_view path;
    RegView view;
    bool isProtected;
  };
  const Case cases[] = {
      {RootKey::LocalMachine, L"\\", RegView::Bits64, true},
      {RootKey::ClassesRoot, L"", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\", RegView::Bits32, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\WOW6432Node\\", RegView::Bits64, true},
      {RootKey::CurrentUser, L"\\SOFTWARE\\", RegView::Bits32, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\software\\microsoft\\windows\\currentversion\\app paths", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\x.exe\\", RegView::Bits64,
       false},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SYSTEM\\CurrentControlSet\\Services\\", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SYSTEM\\CurrentControlSet\\Services\\Gone\\", RegView::Bits64, false},
      {RootKey::LocalMachine, L"\\SYSTEM\\ControlSet002\\Services", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SYSTEM\\", RegView::Bits64, true},
      {RootKey::ClassesRoot, L"\\Installer\\Products\\", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Classes\\Installer\\Products", RegView::Bits64, true},
      {RootKey::ClassesRoot, L"\\Installer\\Products\\0123\\SourceList\\", RegView::Bits64, false},
      {RootKey::ClassesRoot, L"\\Applications\\", RegView::Bits64, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\", RegView::Bits32, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\", RegView::Bits32, true},
      {RootKey::LocalMachine, L"\\SOFTWARE\\Vendor\\", RegView::Bits32, false},
      {RootKey::CurrentUser, L"\\SOFTWARE\\Vendor\\", RegView::Bits32, false},
      {RootKey::CurrentUser, L"\\Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache\\",
       RegView::Bits64, true},
      {RootKey::CurrentUser, L"\\AppEvents\\Schemes\\Apps\\Explorer\\", RegView::Bits64, true},
      {RootKey::CurrentUser, L"\\AppEvents\\Schemes\\Apps\\Explorer\\Navigating\\", RegView::Bits64, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsProtectedKey(c.root, c.path, c.view), c.isProtected) << ToUtf8(RegKeyFullPath(c.root, c.path));

  // A value of a walked key may go; the key itself may not.
  Finding finding;
  finding.keyPath = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\";
  finding.action = FindingAction::DeleteValue;
  EXPECT_TRUE(IsToBeRepaired(finding));
  finding.action = FindingAction::DeleteKey;
  EXPECT_FALSE(IsToBeRepaired(finding));
  finding.keyPath += L"x\\";
  EXPECT_TRUE(IsToBeRepaired(finding));
  finding.checked = false;
  EXPECT_FALSE(IsToBeRepaired(finding));
}

}  // namespace qm::testing
