#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/win32/win32_process_launcher.h"
#include "started_programs.h"
#include "update/update_install.h"

namespace qm {

using namespace qm::testing;

TEST(Win32ProcessLauncher, StartsTheSetupProgramWithTheQuickSwitches) {
  const std::wstring record = TempPath(L"qm_setup_args.txt");
  DeleteFileW(record.c_str());
  SetEnvironmentVariableW(L"QM_RECORD_ARGS_TO", record.c_str());
  Win32ProcessLauncher launcher;
  const std::wstring switches = SetupSwitches(L"");
  ASSERT_TRUE(launcher.Open(BesideThisProgram(L"record_args.exe"), switches, WindowShow::Normal));
  auto commandLine = WaitForRecordedCommandLine(record);
  ASSERT_TRUE(commandLine);
  EXPECT_TRUE(commandLine->ends_with(L" " + switches)) << *commandLine;
  EXPECT_NE(commandLine->find(L"/LANG= /MERGETASKS=\"runcmd1\""), std::wstring::npos) << *commandLine;
  DeleteFileW(record.c_str());

  EXPECT_FALSE(launcher.Open(BesideThisProgram(L"no_such_program.exe"), {}, WindowShow::Normal));
}

TEST(Win32ProcessLauncher, RunsABatchScriptHidden) {
  const std::wstring script = TempPath(L"qm_hidden_script.bat");
  const std::wstring output = TempPath(L"qm_hidden_script.txt");
  DeleteFileW(output.c_str());
  std::ofstream(std::filesystem::path(script), std::ios::binary)
      << "@echo off\r\necho ran> \"%~dp0qm_hidden_script.txt\"\r\n";
  Win32ProcessLauncher launcher;
  ASSERT_TRUE(launcher.Open(script, {}, WindowShow::Hidden));
  auto text = WaitForFile(output);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->substr(0, 3), "ran");
  DeleteFileW(output.c_str());
  DeleteFileW(script.c_str());
}

}  // namespace qm
