#pragma once
// Tests of the installation and service categories over their fixture files: the
// category's registry file, the drive folder "setup_drive_c" copied onto C:, the
// exclusion file "setup_exclusions.ini" and the category's expected findings.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "scan_test_support.h"

namespace qm::testing {

class SetupFixtureTest : public ::testing::Test {
 protected:
  SetupFixtureTest(std::string_view registryFile, std::string_view expectedFile)
      : expected(ExpectedFixtureRows(expectedFile)) {
    scan.ImportRegFixture(registryFile);
    scan.CopyFixtureToDriveC("setup_drive_c");
    scan.ExcludeFromFixture("setup_exclusions.ini");
  }

  ScanFixture scan;
  const std::vector<std::wstring> expected;  // as ScanFixture::Rows gives them
};

}  // namespace qm::testing
