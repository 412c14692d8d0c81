// The shared walk over several keys that most categories build on.
#include <gtest/gtest.h>

#include <array>

#include "scan/category_scan.h"
#include "scan_test_support.h"

namespace qm::testing {

namespace {

struct Source {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  std::wstring_view label;  // what a category may keep with its source
};

constexpr std::array<Source, 3> kSources{{
    {RootKey::CurrentUser, L"\\Software\\QmWalk\\", ItemKind::SubKeys, L"keys"},
    {RootKey::LocalMachine, L"\\SOFTWARE\\QmMissing\\", ItemKind::Values, L"missing"},
    {RootKey::LocalMachine, L"\\SOFTWARE\\QmWalk\\", ItemKind::Values, L"values"},
}};

// Reports every item with its source's label as the data.
void WalkSources(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kSources, access::Read64, [&](const Source& source, Registry& registry, const std::wstring& name) {
    scan.ShowItem(name);
    scan.Report(registry, {std::wstring(source.path), name, std::wstring(source.label), FindingAction::DeleteValue},
                {name});
  });
}

constexpr std::array<ScanCategory, 1> kWalk{{{L"CheckBoxWalk", L"Walk", &WalkSources}}};

class ScanSourcesTest : public ::testing::Test {
 protected:
  ScanSourcesTest() {
    scan.ImportReg(
        L"[HKEY_CURRENT_USER\\Software\\QmWalk\\x]\r\n\r\n[HKEY_CURRENT_USER\\Software\\QmWalk\\y]\r\n\r\n"
        L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\QmWalk]\r\n\"p\"=\"1\"\r\n\"q\"=\"2\"\r\n\"r\"=\"3\"\r\n");
  }
  ScanFixture scan{kWalk};
};

TEST_F(ScanSourcesTest, OneProgressRunOverTheItemsOfEverySourceThatOpens) {
  scan.Scan(L"CheckBoxWalk");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{
                             L"HKEY_CURRENT_USER|\\Software\\QmWalk\\|x|keys|CheckBoxWalk|DelVal",
                             L"HKEY_CURRENT_USER|\\Software\\QmWalk\\|y|keys|CheckBoxWalk|DelVal",
                             L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\QmWalk\\|p|values|CheckBoxWalk|DelVal",
                             L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\QmWalk\\|q|values|CheckBoxWalk|DelVal",
                             L"HKEY_LOCAL_MACHINE|\\SOFTWARE\\QmWalk\\|r|values|CheckBoxWalk|DelVal",
                         }));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{4});  // five items, counted first
  // Search starts at 0; the progress set-up, the five items, the finish, the end of the run.
  EXPECT_EQ(scan.host.positions, (std::vector<int>{0, 0, 0, 1, 2, 3, 4, 4, 4}));
}

TEST_F(ScanSourcesTest, StopEndsTheWalkWithoutFinishingTheProgress) {
  scan.host.stopAtItem = L"q";
  scan.Scan(L"CheckBoxWalk");
  EXPECT_EQ(scan.findings.Size(), 3u);
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 4, 4}));
}

TEST(ScanSources, NoItemsLeaveTheMaximumAsItWas) {
  ScanFixture scan{kWalk};
  scan.host.maximum = 7;
  scan.Scan(L"CheckBoxWalk");
  EXPECT_TRUE(scan.host.maxima.empty());
  EXPECT_EQ(scan.host.position, 7);
  EXPECT_TRUE(scan.findings.Empty());
}

}  // namespace

}  // namespace qm::testing
