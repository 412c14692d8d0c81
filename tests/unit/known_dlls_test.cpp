#include <gtest/gtest.h>

#include "category_fixture.h"

namespace qm::testing {

namespace {

class KnownDllsTest : public ::testing::Test {
 protected:
  KnownDllsTest() { LoadCategoryFixture(scan, "known_dlls"); }
  ScanFixture scan;
  const std::vector<std::wstring> expected = ExpectedRows("known_dlls");
};

TEST_F(KnownDllsTest, ReportsLibrariesFoundNowhere) {
  scan.Scan(L"CheckBoxKnownDLLs");
  EXPECT_EQ(scan.Rows(), expected);
  EXPECT_TRUE(RanWithoutError(scan.host));
  EXPECT_EQ(scan.host.maxima, std::vector<int>{10});  // eleven values, the number - 1
  EXPECT_EQ(scan.host.position, 10);
}

TEST_F(KnownDllsTest, OnlyTheValueNameIsAskedOfTheExclusions) {
  scan.Exclude(L"FULLGONE");
  scan.Exclude(L"quillmeregone.dll");  // the file name, which is no candidate
  scan.Scan(L"CheckBoxKnownDLLs");
  EXPECT_EQ(scan.Rows(), (std::vector<std::wstring>{expected[0], expected[2]}));
}

}  // namespace

}  // namespace qm::testing
