#pragma once
// The fixtures of tests/fixtures/categories: a category's registry (<name>.reg), the
// files of drive C: it relies on (drive_c, plus a few system files that every
// Windows has), and the findings a scan of it gives (<name>_expected.tsv, one line per
// finding with tab-separated columns, as quillmere-cli prints them). The Windows
// tests scan the same fixtures on the real registry.
#include <string>
#include <string_view>
#include <vector>

#include "scan_test_support.h"

namespace qm::testing {

// Loads the category's registry and lays out drive C: in the scan's substitute platform.
void LoadCategoryFixture(ScanFixture& scan, std::string_view name);

// The expected findings in the form of ScanFixture::Rows(), in enumeration order.
std::vector<std::wstring> ExpectedRows(std::string_view name);

// No error ended the run.
bool RanWithoutError(const RecordingScanHost& host);

}  // namespace qm::testing
