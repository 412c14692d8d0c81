// quillmere-cli.exe over the real registry and file system: the fixture registry is
// imported with the registry editor and the fixture drive copied to C:\. The whole-scan
// fixture comes first, then the fixture folders of single categories, which the native
// tests use too.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/reg_file.h"
#include "platform/registry.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "wine_test_support.h"

namespace {

const std::filesystem::path kFixtures = QM_FIXTURES;
constexpr wchar_t kAppPaths[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr wchar_t kSharedDlls[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Starts the command line with stdout (and stderr) going to files; gives the exit code.
DWORD Run(std::wstring commandLine, const std::filesystem::path& out = {}, const std::filesystem::path& err = {}) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  auto open = [&](const std::filesystem::path& path) {
    return path.empty() ? INVALID_HANDLE_VALUE
                        : CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  };
  qm::UniqueFile outFile(open(out)), errFile(open(err));
  STARTUPINFOW startup{sizeof(startup)};
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

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

struct CliRun {
  DWORD status = 0;
  std::string errors;
};

// quillmere-cli.exe with the arguments, its findings written to `out`.
CliRun RunCli(const std::wstring& arguments, const std::filesystem::path& out) {
  const std::filesystem::path folder = qm::testing::TestProgramFolder();
  const auto err = std::filesystem::path(out).replace_extension(L".err");
  const DWORD status = Run(Quoted(folder / L"quillmere-cli.exe") + L" " + arguments, out, err);
  return {status, ReadText(err)};
}

void ImportRegFile(const std::filesystem::path& file) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  ASSERT_EQ(Run(Quoted(std::filesystem::path(windows) / L"regedit.exe") + L" /s " + Quoted(file)), 0u);
}

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
    ImportRegFile(kFixtures / "cli_scan.reg");
  }
  void TearDown() override { RemoveFixture(); }
};

TEST_F(CliScanUnderWine, FindsExactlyTheBrokenFixtureEntries) {
  const auto out = std::filesystem::path(qm::testing::TestProgramFolder()) / L"cli_scan_out.tsv";
  const CliRun run = RunCli(L"scan --exclusions " + Quoted(kFixtures / "cli_exclusions.ini"), out);
  EXPECT_EQ(run.status, 0u) << run.errors;
  EXPECT_EQ(FixtureLines(out), FixtureLines(kFixtures / "cli_scan_expected.tsv"));
}

// A category's fixture folder: registry.reg, exclusions.ini, expected.tsv and, when the
// category tests files, drive_c.
struct CategoryFixture {
  const char* folder;
  const wchar_t* checkBox;
};

constexpr CategoryFixture kCategoryFixtures[] = {
    {"shell_extensions", L"CheckBoxShellExtensions"},
    {"firewall_policy", L"CheckBoxFirewallPolicy"},
    {"mui_cache", L"CheckBoxMUI"},
    {"component_classes", L"CheckBoxClassKom"},
};

// The key that a fixture owns: the path up to its first name with "Quillmere" in it;
// empty when the fixture only adds values to a key of the system.
std::wstring FixtureOwnKey(const std::wstring& path) {
  const size_t name = path.find(L"Quillmere");
  if (name == std::wstring::npos) return {};
  return path.substr(0, path.find(L'\\', name));
}

// Takes out what a fixture folder puts into the 64-bit registry and onto C:.
void RemoveFolderFixture(const std::filesystem::path& folder) {
  qm::Win32Registry backend;
  qm::Win32Locale locale;
  const std::string reg = ReadText(folder / "registry.reg");
  for (const qm::RegFileKey& block : qm::ParseRegFile(qm::Bytes(reg.begin(), reg.end()), locale).keys) {
    qm::Registry registry(backend, block.root, qm::access::AllAccess64);
    if (const std::wstring own = FixtureOwnKey(block.path); !own.empty()) {
      registry.DeleteKey(L"\\" + own);
    } else if (registry.OpenKey(L"\\" + block.path)) {
      for (const qm::RegFileValue& value : block.values) registry.DeleteValue(value.name);
    }
  }
  const std::filesystem::path drive = folder / "drive_c";
  std::error_code ignored;
  for (const auto& top : std::filesystem::directory_iterator(drive, ignored)) {
    const auto onC = L"C:\\" / top.path().filename();
    for (const auto& entry : std::filesystem::directory_iterator(top.path(), ignored))
      std::filesystem::remove_all(onC / entry.path().filename(), ignored);
    std::filesystem::remove(onC, ignored);  // only when nothing else is left in it
  }
}

class CategoryFixtureUnderWine : public ::testing::TestWithParam<CategoryFixture> {
 protected:
  const std::filesystem::path folder = kFixtures / "scan" / GetParam().folder;

  void SetUp() override {
    RemoveFolderFixture(folder);
    if (std::filesystem::exists(folder / "drive_c"))
      std::filesystem::copy(folder / "drive_c", L"C:\\", std::filesystem::copy_options::recursive);
    ImportRegFile(folder / "registry.reg");
  }
  void TearDown() override { RemoveFolderFixture(folder); }
};

TEST_P(CategoryFixtureUnderWine, FindsExactlyTheBrokenFixtureEntries) {
  const auto out = std::filesystem::path(qm::testing::TestProgramFolder()) / (std::string(GetParam().folder) + "_out.tsv");
  const CliRun run = RunCli(L"scan --category " + std::wstring(GetParam().checkBox) + L" --exclusions " +
                                Quoted(folder / "exclusions.ini"),
                            out);
  EXPECT_EQ(run.status, 0u) << run.errors;
  EXPECT_EQ(FixtureLines(out), FixtureLines(folder / "expected.tsv"));
}

INSTANTIATE_TEST_SUITE_P(Categories, CategoryFixtureUnderWine, ::testing::ValuesIn(kCategoryFixtures),
                         [](const ::testing::TestParamInfo<CategoryFixture>& info) {
                           return std::string(info.param.folder);
                         });

}  // namespace
