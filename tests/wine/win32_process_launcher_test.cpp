#include <windows.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/win32_process_launcher.h"
#include "update/update_install.h"

namespace qm {

namespace {

std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

// The file's bytes once it appears with some content, waiting at most ten seconds.
std::optional<std::string> WaitForFile(const std::wstring& path) {
  for (int i = 0; i < 200; ++i) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    std::string content(std::istreambuf_iterator<char>(file), {});
    if (!content.empty()) return content;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

}  // namespace

TEST(Win32ProcessLauncher, StartsTheSetupProgramWithTheQuickSwitches) {
  const std::wstring record = TempPath(L"qm_setup_args.txt");
  DeleteFileW(record.c_str());
  SetEnvironmentVariableW(L"QM_RECORD_ARGS_TO", record.c_str());
  Win32ProcessLauncher launcher;
  const std::wstring switches = SetupSwitches(L"");
  ASSERT_TRUE(launcher.Open(BesideThisProgram(L"record_args.exe"), switches, WindowShow::Normal));
  auto recorded = WaitForFile(record);
  ASSERT_TRUE(recorded);
  const std::wstring commandLine(reinterpret_cast<const wchar_t*>(recorded->data()), recorded->size() / 2);
  EXPECT_TRUE(commandLine.ends_with(L" " + switches)) << commandLine;
  EXPECT_NE(commandLine.find(L"/LANG= /MERGETASKS=\"runcmd1\""), std::wstring::npos) << commandLine;
  DeleteFileW(record.c_str());

  EXPECT_FALSE(launcher.Open(BesideThisProgram(L"no_such_program.exe"), {}, WindowShow::Normal));
}

TEST(Win32ProcessLauncher, RunsABatchScriptHidden) {
  const std::wstring script = TempPath(L"qm_hidden_script.bat");
  const std::wstring output = TempPath(L"qm_hidden_script.txt");
  DeleteFileW(output.c_str());
  {
    std::ofstream file(std::filesystem::path(script), std::ios::binary);
    file << "@echo off\r\necho ran> \"%~dp0qm_hidden_script.txt\"\r\n";
  }
  Win32ProcessLauncher launcher;
  ASSERT_TRUE(launcher.Open(script, {}, WindowShow::Hidden));
  auto text = WaitForFile(output);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 3), "ran");
  DeleteFileW(output.c_str());
  DeleteFileW(script.c_str());
}

}  // namespace qm
