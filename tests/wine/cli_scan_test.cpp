// quillmere-cli.exe over the real registry and file system: the fixture registry is
// imported with the registry editor and the fixture drive copied to C:\; a fix is
// undone by importing its backup with the registry editor.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "registry_test_support.h"
#include "wine_test_support.h"

namespace {

using qm::testing::Quoted;
using qm::testing::RunCommand;

const std::filesystem::path kFixtures = QM_FIXTURES;
constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kSharedDlls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Removes what the fixture puts into the 64-bit registry and onto C:.
void RemoveFixture() {
  qm::UniqueHkey appPaths;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kAppPaths, 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, appPaths.put()) == ERROR_SUCCESS)
    for (auto name : {L"QuillmereFixturePresent.exe", L"QuillmereFixtureGone.exe", L"QuillmereFixtureFolderGone.exe",
                      L"QuillmereFixtureExcluded.exe"})
      RegDeleteTreeW(appPaths.get(), name);
  for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
    qm::UniqueHkey shared;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS | view, shared.put()) != ERROR_SUCCESS) continue;
    for (auto name : {L"C:\\QuillmereFixture\\present.dll", L"C:\\QuillmereFixture\\gone.dll",
                      L"C:\\QuillmereFixture\\Excluded\\lib.dll", L"%SystemRoot%\\QuillmereFixture\\env.dll",
                      L"C:\\Windows\\System32\\QuillmereFixture.dll", L"C:\\QuillmereFixture\\only32.dll"})
      RegDeleteValueW(shared.get(), name);
  }
  std::error_code ignored;
  std::filesystem::remove_all(L"C:\\QuillmereFixture", ignored);
}

std::vector<std::string> FixtureLines(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(stream, line);)
    if (line.find("uillmere") != std::string::npos) lines.push_back(line);
  std::ranges::sort(lines);
  return lines;
}

class CliScanUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveFixture();
    std::filesystem::copy(kFixtures / "cli_drive_c", L"C:\\", std::filesystem::copy_options::recursive);
    qm::testing::RunRegedit(L"/s " + Quoted(kFixtures / "cli_scan.reg"));
  }
  void TearDown() override { RemoveFixture(); }
};

std::string TextOf(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// quillmere-cli with the arguments, its stdout and stderr in files of the test folder.
DWORD RunCli(const std::wstring& arguments, const std::filesystem::path& out, const std::filesystem::path& err) {
  const auto cli = std::filesystem::path(qm::testing::TestProgramFolder()) / L"quillmere-cli.exe";
  return RunCommand(Quoted(cli) + L" " + arguments + L" --exclusions " + Quoted(kFixtures / "cli_exclusions.ini"), out,
                    err);
}

TEST_F(CliScanUnderWine, FindsExactlyTheBrokenFixtureEntries) {
  const auto out = std::filesystem::path(qm::testing::TestProgramFolder()) / L"cli_scan_out.tsv";
  const auto err = std::filesystem::path(qm::testing::TestProgramFolder()) / L"cli_scan_err.txt";
  EXPECT_EQ(RunCli(L"scan", out, err), 0u) << TextOf(err);
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / "cli_scan_expected.tsv"));
}

// The fix deletes the fixture's broken entries, and whatever else is broken in the two
// keys; the registry editor's import of the backup brings every one of them back.
TEST_F(CliScanUnderWine, FixIsUndoneByImportingItsBackup) {
  qm::testing::ScratchFolder scratch;
  const std::filesystem::path folder = scratch.path();
  const auto exportKeys = [&] {
    std::vector<qm::Bytes> exports;
    for (const wchar_t* key : {kAppPaths, kSharedDlls}) {
      const auto file = folder / L"export.reg";
      qm::testing::RunRegedit(L"/e " + Quoted(file) + L" \"HKEY_LOCAL_MACHINE\\" + key + L"\"");
      exports.push_back(qm::testing::ReadFileBytes(file));
    }
    return exports;
  };
  const auto before = exportKeys();

  const DWORD status = RunCli(L"fix --backup-dir " + Quoted(folder / L"backups"), folder / L"out.txt", folder / L"err.txt");
  ASSERT_EQ(status, 0u) << TextOf(folder / L"err.txt");
  const std::string out = TextOf(folder / L"out.txt");
  ASSERT_TRUE(out.starts_with("backup: ")) << out;
  const std::string backup = out.substr(8, out.find('\n') - 8);
  EXPECT_NE(out.find("\ndeleted keys: "), std::string::npos) << out;
  qm::UniqueHkey gone;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kAppPaths) + L"\\QuillmereFixtureGone.exe").c_str(), 0,
                          KEY_READ | KEY_WOW64_64KEY, gone.put()),
            ERROR_SUCCESS);
  ASSERT_NE(exportKeys(), before);

  qm::testing::RunRegedit(L"/s " + Quoted(std::filesystem::path(backup)));
  EXPECT_EQ(exportKeys(), before);
}

}  // namespace
