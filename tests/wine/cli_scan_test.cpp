// quillmere-cli.exe over the real registry and file system: the fixture registry is
// imported with the registry editor and the fixture drive copied to C:\.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "wine_test_support.h"

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;
constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kSharedDlls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Starts the command line with stdout (and stderr) going to files; gives the exit code.
DWORD RunProgram(std::wstring commandLine, const std::filesystem::path& out = {}, const std::filesystem::path& err = {}) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  auto open = [&](const std::filesystem::path& path) {
    return path.empty() ? INVALID_HANDLE_VALUE
                        : CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  };
  qm::UniqueFile outFile(open(out)), errFile(open(err));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outFile.get();
  startup.hStdError = errFile.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  qm::UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

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
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const auto regedit = std::filesystem::path(windows) / L"regedit.exe";
    ASSERT_EQ(RunProgram(Quoted(regedit) + L" /s " + Quoted(kFixtures / "cli_scan.reg")), 0u);
  }
  void TearDown() override { RemoveFixture(); }
};

TEST_F(CliScanUnderWine, FindsExactlyTheBrokenFixtureEntries) {
  const qm::testing::ScratchFolder scratch;
  const auto out = std::filesystem::path(scratch.path()) / L"out.tsv";
  const auto err = std::filesystem::path(scratch.path()) / L"err.txt";
  const auto cli = std::filesystem::path(qm::testing::TestProgramFolder()) / L"quillmere-cli.exe";
  const DWORD status =
      RunProgram(Quoted(cli) + L" scan --exclusions " + Quoted(kFixtures / "cli_exclusions.ini"), out, err);
  std::ifstream errors(err);
  std::stringstream errorText;
  errorText << errors.rdbuf();
  EXPECT_EQ(status, 0u) << errorText.str();
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / "cli_scan_expected.tsv"));
}

}  // namespace
