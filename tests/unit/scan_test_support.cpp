#include "scan_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "exclusions/exclusion_file.h"
#include "scan/scan_categories.h"
#include "text/encoding.h"
#include "text/ini_file.h"

namespace qm::testing {

void RecordingScanHost::SetProgressMaximum(int value) {
  maximum = value;
  maxima.push_back(value);
}

void RecordingScanHost::SetProgressPosition(int value) {
  position = value;
  positions.push_back(value);
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

void ScanFixture::AddFile(std::wstring_view path) {
  const TempFolder& drive = path.starts_with(L"E:") ? driveE : driveC;
  std::string relative = ToUtf8(path.substr(3));
  std::ranges::replace(relative, '\\', '/');
  drive.AddFile(relative);
}

void ScanFixture::Exclude(std::wstring text, bool checked) { exclusions.Add({std::move(text), L"", checked}); }

void ScanFixture::ImportRegFixture(std::string_view file) {
  registry.LoadRegFile(std::filesystem::path(QM_FIXTURES) / file, locale);
}

void ScanFixture::CopyFixtureToDriveC(std::string_view folder) {
  std::filesystem::copy(std::filesystem::path(QM_FIXTURES) / folder, driveC.path(),
                        std::filesystem::copy_options::recursive);
}

void ScanFixture::ExcludeFromFixture(std::string_view file) {
  std::ifstream stream(std::filesystem::path(QM_FIXTURES) / file, std::ios::binary);
  const Bytes bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  AppendExclusions(IniFile::Parse(DecodeText(bytes, locale).text), exclusions);
}

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

std::vector<std::wstring> ExpectedFixtureRows(std::string_view file) {
  std::ifstream stream(std::filesystem::path(QM_FIXTURES) / file, std::ios::binary);
  std::vector<std::wstring> rows;
  for (std::string line; std::getline(stream, line);) {
    std::ranges::replace(line, '\t', '|');
    rows.push_back(FromUtf8(line));
  }
  return rows;
}

}  // namespace qm::testing
