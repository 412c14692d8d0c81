#pragma once
// The fixture folders of tests/fixtures/scan, one per category, which the Windows
// tests scan too: registry.reg, exclusions.ini, expected.tsv (the findings as
// quillmere-cli prints them, in enumeration order) and, when the category tests
// files, drive_c.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "scan_test_support.h"

namespace qm::testing {

// Imports the folder's registry, appends its exclusions and copies its drive_c onto C:.
void LoadFixtureFolder(ScanFixture& scan, std::string_view folder);

// The folder's expected findings, each as ScanFixture::Rows gives a finding.
std::vector<std::wstring> FolderExpectedRows(std::string_view folder);

// Loads the folder, scans the category and expects the folder's findings, a run
// without error, and the progress bar ending at `maximum`, the only maximum that the
// category set.
void ExpectFolderFindings(ScanFixture& scan, std::string_view folder, std::wstring_view checkBoxName, int maximum);

// Loads the folder and scans the category with Stop pressed when `item` shows in the
// status bar; expects the first `rowsKept` of the folder's findings and the bar moved
// only by the Stop press (to 0, then to `maximum`) and the end of the run: the
// category neither walks on nor finishes its progress.
void ExpectStopAt(ScanFixture& scan, std::string_view folder, std::wstring_view checkBoxName, std::wstring item,
                  std::size_t rowsKept, int maximum);

}  // namespace qm::testing
