#include "category_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "text/encoding.h"

namespace qm::testing {

namespace {

const std::filesystem::path kCategoryFixtures = std::filesystem::path(QM_FIXTURES) / "categories";

// Files the fixtures name by bare file name, which the system or the Windows folder
// of every Windows (and every Wine prefix) holds.
constexpr std::wstring_view kSystemFiles[] = {
    L"C:\\Windows\\system32\\kernel32.dll",
    L"C:\\Windows\\system32\\midimap.dll",
    L"C:\\Windows\\notepad.exe",
};

}  // namespace

void LoadCategoryFixture(ScanFixture& scan, std::string_view name) {
  scan.registry.LoadRegFile(kCategoryFixtures / (std::string(name) + ".reg"), scan.locale);
  std::filesystem::copy(kCategoryFixtures / "drive_c", scan.driveC.path(), std::filesystem::copy_options::recursive);
  for (std::wstring_view file : kSystemFiles) scan.AddFile(file);
}

std::vector<std::wstring> ExpectedRows(std::string_view name) {
  std::ifstream file(kCategoryFixtures / (std::string(name) + "_expected.tsv"), std::ios::binary);
  std::vector<std::wstring> rows;
  for (std::string line; std::getline(file, line);) {
    std::ranges::replace(line, '\t', '|');
    rows.push_back(FromUtf8(line));
  }
  return rows;
}

bool RanWithoutError(const RecordingScanHost& host) {
  return std::ranges::none_of(host.events, [](const std::wstring& event) { return event.starts_with(L"error"); });
}

}  // namespace qm::testing
