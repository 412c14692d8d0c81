#include <gtest/gtest.h>

#include <array>

#include "platform/error.h"
#include "scan/category_scan.h"
#include "scan_test_support.h"

namespace qm::testing {

namespace {

// Shows its caption as the item, then reports one key named after it.
void ReportOwnKey(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::CurrentUser, access::Read64);
  scan.ShowItem(scan.Caption());
  scan.Report(registry, {L"\\" + scan.Caption() + L"\\", {}, {}, FindingAction::DeleteKey}, {});
}

// Reports the Windows folder as a system-folder file name resolves it, twice.
void ReportWindowsFolder(CategoryScan& scan) {
  Registry registry = scan.NewRegistry(RootKey::CurrentUser, access::Read64);
  for (int time = 0; time < 2; ++time)
    scan.Report(registry, {L"\\" + scan.RunPath(L"%windir%\\notepad.exe"), {}, {}, FindingAction::DeleteKey}, {});
}

void ReadWrongType(CategoryScan&) { throw Error(L"Invalid data type for 'Font'"); }

constexpr std::array<ScanCategory, 4> kCategories{{
    {L"CheckBoxOne", L"One", &ReportOwnKey},
    {L"CheckBoxTwo", L"Two", &ReportOwnKey},
    {L"CheckBoxBroken", L"Broken", &ReadWrongType},
    {L"CheckBoxThree", L"Three", &ReportOwnKey},
}};

std::vector<std::wstring> Keys(const FindingsList& findings) {
  std::vector<std::wstring> keys;
  for (const Finding& finding : findings.Rows()) keys.push_back(finding.keyPath);
  return keys;
}

class ScannerTest : public ::testing::Test {
 protected:
  ScannerTest() {
    for (const ScanCategory& category : kCategories)
      scan.host.captions[std::wstring(category.checkBoxName)] = category.defaultCaption;
  }
  void Check(std::initializer_list<std::wstring> names) { scan.host.checked = names; }
  ScanFixture scan{kCategories};
};

TEST_F(ScannerTest, ARunWithNothingCheckedEmptiesTheListAndEndsIdle) {
  scan.host.maximum = 40;
  scan.scanner.ToggleSearch();
  EXPECT_EQ(scan.host.clears, 1u);
  EXPECT_EQ(scan.host.total, 0u);
  EXPECT_EQ(scan.host.position, 40);
  EXPECT_FALSE(scan.host.fixEnabled);
  EXPECT_TRUE(scan.host.menusEnabled);
  EXPECT_FALSE(scan.host.runningLook);
  EXPECT_EQ(scan.host.status[0], L"");
  EXPECT_EQ(scan.host.status[1], L"");
  EXPECT_TRUE(scan.host.events.empty());
  EXPECT_TRUE(scan.scanner.StopRequested());
  EXPECT_EQ(scan.scanner.State(), RunState::Idle);
}

TEST_F(ScannerTest, CheckedCategoriesRunInTableOrder) {
  Check({L"CheckBoxThree", L"CheckBoxOne"});
  scan.scanner.ToggleSearch();
  EXPECT_EQ(Keys(scan.findings), (std::vector<std::wstring>{L"\\One\\", L"\\Three\\"}));
  EXPECT_EQ(scan.host.events, (std::vector<std::wstring>{L"bold CheckBoxOne", L"regular CheckBoxOne",
                                                         L"bold CheckBoxThree", L"regular CheckBoxThree"}));
  EXPECT_TRUE(scan.host.fixEnabled);
  EXPECT_EQ(scan.host.total, 2u);
}

TEST_F(ScannerTest, StopEndsTheRunningCategoryAndLaterOnesOnlyTurnBold) {
  Check({L"CheckBoxOne", L"CheckBoxTwo", L"CheckBoxThree"});
  scan.host.stopAtItem = L"Two";
  scan.host.stopPresses = 2;  // the second press comes while the run unwinds and is ignored
  scan.scanner.ToggleSearch();
  EXPECT_EQ(scan.host.stateAfterStop, RunState::Stopping);
  EXPECT_EQ(Keys(scan.findings), std::vector<std::wstring>{L"\\One\\"});
  EXPECT_EQ(scan.host.clears, 1u);
  EXPECT_EQ(scan.host.events.back(), L"regular CheckBoxThree");
  EXPECT_TRUE(scan.host.fixEnabled);
  EXPECT_FALSE(scan.host.runningLook);
  EXPECT_EQ(scan.scanner.State(), RunState::Idle);

  scan.host.stopAtItem.reset();
  scan.scanner.ToggleSearch();  // the next run resets the stop flag and scans normally
  EXPECT_EQ(Keys(scan.findings), (std::vector<std::wstring>{L"\\One\\", L"\\Two\\", L"\\Three\\"}));
}

TEST_F(ScannerTest, AnErrorInACategoryEndsTheRunAndReturnsToIdle) {
  Check({L"CheckBoxOne", L"CheckBoxBroken", L"CheckBoxThree"});
  scan.scanner.ToggleSearch();
  EXPECT_EQ(Keys(scan.findings), std::vector<std::wstring>{L"\\One\\"});
  EXPECT_EQ(scan.host.events,
            (std::vector<std::wstring>{L"bold CheckBoxOne", L"regular CheckBoxOne", L"bold CheckBoxBroken",
                                       L"regular CheckBoxBroken", L"error: Invalid data type for 'Font'"}));
  EXPECT_TRUE(scan.host.fixEnabled);
  EXPECT_TRUE(scan.host.menusEnabled);
  EXPECT_FALSE(scan.host.runningLook);
  EXPECT_EQ(scan.scanner.State(), RunState::Idle);
  EXPECT_TRUE(scan.scanner.StopRequested());

  Check({L"CheckBoxTwo"});
  scan.scanner.ToggleSearch();
  EXPECT_EQ(Keys(scan.findings), std::vector<std::wstring>{L"\\Two\\"});
}

// The folders a run asks for are asked once per run, never kept for the next one.
TEST(ScannerFoldersTest, EveryRunAsksForTheFoldersAfresh) {
  constexpr std::array<ScanCategory, 1> kWindowsFolder{{{L"CheckBoxWindows", L"Windows", &ReportWindowsFolder}}};
  ScanFixture scan{kWindowsFolder};
  scan.host.checked = {L"CheckBoxWindows"};
  for (std::wstring folder : {L"C:\\Windows", L"D:\\WinNT"}) {
    scan.shell.SetSpecialFolder(csidl::Windows, folder);
    scan.scanner.StartSearch();
    const std::wstring expected = L"\\" + folder + L"\\notepad.exe";
    EXPECT_EQ(Keys(scan.findings), (std::vector<std::wstring>{expected, expected}));
  }
}

}  // namespace

}  // namespace qm::testing
