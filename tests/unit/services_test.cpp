#include "setup_fixture_test.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCategory = L"CheckBoxServices";
constexpr std::wstring_view kServices = L"\\SYSTEM\\CurrentControlSet\\Services\\";

class ServicesTest : public SetupFixtureTest {
 protected:
  ServicesTest() : SetupFixtureTest("services.reg", "services_expected.tsv") {}
};

// Passed over: a present image (also behind switches or once "(x86)" is cut out),
// images of drivers or without extension, system-folder and system-root images,
// removable and CD-ROM drives, environment references, empty, expandable, numeric
// and missing "ImagePath" values.
TEST_F(ServicesTest, ReportsPlainStringImagesThatAreGone) {
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), expected);
  EXPECT_EQ(scan.host.maxima, std::vector<int>{15});  // number of services - 1
  EXPECT_EQ(scan.host.position, 15);
}

TEST_F(ServicesTest, ExclusionCandidatesAreTheServiceKeyWithItsBackslashAndTheText) {
  scan.Exclude(L"services\\quillmeresvcgone\\");  // not QuillmereSvcGoneX86
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[1]});
  scan.Exclude(L"GONE (X86)");
  scan.Scan(kCategory);
  EXPECT_TRUE(scan.findings.Empty());
}

TEST_F(ServicesTest, StopAddsNothingMore) {
  scan.host.stopAtItem = std::wstring(kServices) + L"QuillmereSvcGoneX86\\";
  scan.Scan(kCategory);
  EXPECT_EQ(scan.Rows(), std::vector<std::wstring>{expected[0]});
  EXPECT_EQ(scan.host.positionsAfterStop, (std::vector<int>{0, 15, 15}));
}

}  // namespace

}  // namespace qm::testing
