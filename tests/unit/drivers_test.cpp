#include "setup_fixture_test.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCategory = L"CheckBoxDriver";

// The fixture's findings by position in its expected file.
enum ExpectedRow { kCurrentGone, kCurrentRelativeGone, kSet001Gone, kSet001RelativeGone, kSet002Old, kReinstallGone,
                   kReinstallSystem32 };

class DriversTest : public SetupFixtureTest {
 protected:
  DriversTest() : SetupFixtureTest("drivers.reg", "drivers_expected.tsv") {}
};

// The current control set and set 001 hold the same drivers, as when Windows runs
// from set 001, so each missing driver shows under both. Passed over: present
// drivers (also once "(x86)" is cut out or below the Windows folder), service
// programs, system-folder and system-root drivers, removable and CD-ROM drives,
// environment references, expandable and numeric images. The reinstall records
// have no system-folder rule.
TEST_F(DriversTest, ReportsMissingDriversOfEachControlSetThenReinstallRecords) {
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), expected);
  // One progress run for each control set and one for the reinstall records.
  EXPECT_EQ(scan.host.maxima, (std::vector<int>{13, 13, 0, 5}));
  EXPECT_EQ(scan.host.position, 5);
}

TEST_F(DriversTest, ExclusionCandidatesAreTheItemKeyWithItsBackslashAndTheText) {
  scan.Exclude(L"controlset001\\services\\quillmeredrvgone\\");
  scan.Exclude(L"reinstall\\gone.inf");
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[kCurrentGone], expected[kCurrentRelativeGone],
                                                    expected[kSet001RelativeGone], expected[kSet002Old],
                                                    expected[kReinstallSystem32]}));
}

TEST_F(DriversTest, StopInTheControlSetsSkipsTheReinstallRecords) {
  scan.host.stopAtItem = L"\\SYSTEM\\ControlSet001\\Services\\QuillmereDrvGone";
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[kCurrentGone], expected[kCurrentRelativeGone]}));
  EXPECT_EQ(scan.host.maxima, (std::vector<int>{13, 13}));
}

TEST(Drivers, MissingControlSetsAreSkippedWithoutAProgressRun) {
  ScanFixture scan;
  scan.ImportReg(LR"([HKEY_LOCAL_MACHINE\SYSTEM\ControlSet002\Services\Gone]
"ImagePath"="C:\\Drivers\\gone.sys"
)");
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{L"HKEY_LOCAL_MACHINE|\\SYSTEM\\ControlSet002\\Services\\Gone|"
                                                   L"ImagePath|C:\\Drivers\\gone.sys|Драйверы|DelKey"});
  EXPECT_EQ(scan.host.maxima, std::vector<int>{0});
}

}  // namespace

}  // namespace qm::testing
