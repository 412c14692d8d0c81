#include "scan_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "exclusions/exclusion_file.h"
#include "scan/scan_categories.h"
#include "text/encoding.h"
#include "text/ini_file.h"

namespace qm::testing {

namespace {

std::filesystem::path FixtureFolder(std::string_view name) { return std::filesystem::path(QM_FIXTURES) / "scan" / name; }

Bytes ReadHostFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << path;
  return Bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

void RecordingScanHost::SetProgressMaximum(int value) {
  maximum = value;
  maxima.push_back(value);
}

void RecordingScanHost::SetProgressPosition(int value) {
  position = value;
  if (stopPressed_) positionsAfterStop.push_back(value);
}

void RecordingScanHost::SetStatusText(StatusPanel panel, std::wstring_view text) {
  status[static_cast<int>(panel)] = text;
  if (panel == StatusPanel::Item && stopAtItem && text == *stopAtItem) stopPending_ = true;
}

void RecordingScanHost::FindingAdded(const FindingsList& findings, std::size_t index) {
  EXPECT_EQ(index + 1, findings.Size());
  EXPECT_TRUE(findings[index].checked);
  total = findings.Size();
}

void RecordingScanHost::ProcessMessages() {
  if (!stopPending_) return;
  stopPending_ = false;
  stopPressed_ = true;
  for (int press = 0; press < stopPresses; ++press) scanner->ToggleSearch();
  stateAfterStop = scanner->State();
}

bool RecordingScanHost::SawError() const {
  return std::ranges::any_of(events, [](const std::wstring& event) { return event.starts_with(L"error: "); });
}

std::wstring RecordingScanHost::CategoryCaption(std::wstring_view checkBoxName) {
  auto caption = captions.find(std::wstring(checkBoxName));
  if (caption != captions.end()) return caption->second;
  const ScanCategory* category = FindScanCategory(checkBoxName);
  return category ? std::wstring(category->defaultCaption) : std::wstring(checkBoxName);
}

void RecordingScanHost::SetCategoryRunning(std::wstring_view checkBoxName, bool running) {
  events.push_back((running ? L"bold " : L"regular ") + std::wstring(checkBoxName));
}

ScanFixture::ScanFixture(std::span<const ScanCategory> categories)
    : scanner(platform, host, findings, exclusions, categories) {
  files.MapDrive(L'C', driveC.path(), DriveType::Fixed);
  files.MapDrive(L'E', driveE.path(), DriveType::Removable);
  files.AddEmptyDrive(L'D', DriveType::CdRom);
  shell.SetWindowsDirectory(L"C:\\Windows");
  shell.SetSpecialFolder(csidl::Windows, L"C:\\Windows");
  shell.SetSpecialFolder(csidl::System, L"C:\\Windows\\system32");
  host.scanner = &scanner;
}

void ScanFixture::ImportReg(std::wstring_view keys) {
  registry.ImportRegText(L"Windows Registry Editor Version 5.00\r\n\r\n" + std::wstring(keys), locale);
}

void ScanFixture::LoadFixtureFolder(std::string_view name) {
  const std::filesystem::path folder = FixtureFolder(name);
  registry.LoadRegFile(folder / "registry.reg", locale);
  AppendExclusions(IniFile::Parse(DecodeText(ReadHostFile(folder / "exclusions.ini"), locale).text), exclusions);
  if (std::filesystem::is_directory(folder / "drive_c")) files.MapDrive(L'C', folder / "drive_c", DriveType::Fixed);
}

void ScanFixture::ExpectFixtureFindings(std::string_view folder, std::wstring_view checkBoxName, int maximum) {
  SCOPED_TRACE(folder);
  LoadFixtureFolder(folder);
  Scan(checkBoxName);
  EXPECT_EQ(Rows(), ExpectedRows(folder));
  EXPECT_FALSE(host.SawError());
  EXPECT_EQ(host.maxima, std::vector<int>{maximum});
  EXPECT_EQ(host.position, maximum);
}

void ScanFixture::ExpectStopAt(std::string_view folder, std::wstring_view checkBoxName, std::wstring item,
                               std::size_t rowsKept, int maximum) {
  SCOPED_TRACE(ToUtf8(item));
  LoadFixtureFolder(folder);
  host.stopAtItem = std::move(item);
  Scan(checkBoxName);
  const std::vector<std::wstring> expected = ExpectedRows(folder);
  ASSERT_LE(rowsKept, expected.size());
  EXPECT_EQ(Rows(), std::vector<std::wstring>(expected.begin(), expected.begin() + rowsKept));
  EXPECT_EQ(host.positionsAfterStop, (std::vector<int>{0, maximum, maximum}));
}

void ScanFixture::AddFile(std::wstring_view path) {
  const TempFolder& drive = path.starts_with(L"E:") ? driveE : driveC;
  std::string relative = ToUtf8(path.substr(3));
  std::ranges::replace(relative, '\\', '/');
  drive.AddFile(relative);
}

void ScanFixture::Exclude(std::wstring text, bool checked) { exclusions.Add({std::move(text), L"", checked}); }

void ScanFixture::Scan(std::wstring_view checkBoxName) {
  host.checked = {std::wstring(checkBoxName)};
  scanner.ToggleSearch();
}

std::wstring RowText(const Finding& finding) {
  std::wstring text;
  for (FindingColumn column : {FindingColumn::Root, FindingColumn::KeyPath, FindingColumn::ValueName,
                               FindingColumn::ValueData, FindingColumn::Category})
    text += ColumnText(finding, column) + L"|";
  return text + std::wstring(ActionText(finding.action));
}

std::vector<std::wstring> ScanFixture::Rows() const {
  std::vector<std::wstring> rows;
  for (const Finding& finding : findings.Rows()) rows.push_back(RowText(finding));
  return rows;
}

std::vector<std::wstring> ExpectedRows(std::string_view fixtureFolder) {
  const Bytes bytes = ReadHostFile(FixtureFolder(fixtureFolder) / "expected.tsv");
  std::vector<std::wstring> rows;
  std::istringstream lines(std::string(bytes.begin(), bytes.end()));
  for (std::string line; std::getline(lines, line);) {
    std::ranges::replace(line, '\t', '|');
    rows.push_back(FromUtf8(line));
  }
  return rows;
}

}  // namespace qm::testing
