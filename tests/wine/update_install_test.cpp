// Download and installation with every real part: WinHTTP against a loopback server, the
// file system, the shell's temporary folder and the shell's "open".
#include <windows.h>
#include <gtest/gtest.h>

#include "loopback_server.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_process_launcher.h"
#include "platform/win32/win32_shell.h"
#include "started_programs.h"
#include "update/update_install.h"

namespace qm {

using namespace qm::testing;

class UpdateInstallOnWindows : public ::testing::Test {
 protected:
  void SetUp() override { DeleteFileW(setupPath.c_str()); }
  void TearDown() override {
    // The started program may still hold its file for a moment.
    for (int i = 0; i < 100 && GetFileAttributesW(setupPath.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
      DeleteFileW(setupPath.c_str());
      Sleep(50);
    }
  }

  Win32HttpClient http;
  Win32FileSystem files;
  Win32Shell shell;
  Win32ProcessLauncher launcher;
  Win32Locale locale;
  Win32Clock clock;
  InstallServices services{http, files, shell, launcher, locale, clock};
  InstallOptions options;
  const std::wstring setupPath = shell.TempFolder() + L"Quillmere-setup.exe";
};

TEST_F(UpdateInstallOnWindows, InstalledCopyDownloadsAndStartsTheSetupProgramWithTheQuickSwitches) {
  const std::string setupProgram = ReadWholeFile(BesideThisProgram(L"record_args.exe"));
  ASSERT_FALSE(setupProgram.empty());
  LoopbackServer server({{"/download/Quillmere/Quillmere-setup.exe", Reply::Ok(setupProgram)}});
  const std::wstring record = TempPath(L"qm_installed_setup_args.txt");
  DeleteFileW(record.c_str());
  SetEnvironmentVariableW(L"QM_RECORD_ARGS_TO", record.c_str());
  options.language = L"English";

  int lastPercent = -1;
  InstallResult result = DownloadAndInstall(services, options, server.Url("/download/Quillmere/Quillmere-setup.exe"),
                                            UpdateTexts{}, [&](std::uint64_t received, std::uint64_t total) {
                                              lastPercent = ProgressPercent(received, total);
                                              return true;
                                            });
  EXPECT_EQ(result.outcome, InstallOutcome::CloseProgram);
  EXPECT_EQ(result.stateLine, L"Файлы обновления загружены!");
  EXPECT_EQ(lastPercent, 100);
  auto commandLine = WaitForRecordedCommandLine(record);
  ASSERT_TRUE(commandLine);
  EXPECT_NE(commandLine->find(L"Quillmere-setup.exe"), std::wstring::npos) << *commandLine;
  EXPECT_TRUE(commandLine->ends_with(L" /SILENT /CLOSEAPPLICATIONS /SUPPRESSMSGBOXES /LANG=English /MERGETASKS=\"runcmd1\""))
      << *commandLine;
  DeleteFileW(record.c_str());
}

TEST_F(UpdateInstallOnWindows, CancelledDownloadLeavesNoFile) {
  LoopbackServer server({{"/download/Quillmere/Quillmere-setup.exe", Reply::Ok(std::string(2 << 20, 'x'))}});
  files.WriteFile(setupPath, {'o', 'l', 'd'});
  bool cancel = false;
  InstallResult result = DownloadAndInstall(services, options, server.Url("/download/Quillmere/Quillmere-setup.exe"),
                                            UpdateTexts{}, [&](std::uint64_t received, std::uint64_t) {
                                              cancel = cancel || received > 0;  // the user presses Cancel
                                              return !cancel;
                                            });
  EXPECT_EQ(result.outcome, InstallOutcome::NotDownloaded);
  EXPECT_EQ(result.stateLine, L"Файлы обновления не загружены!");
  EXPECT_FALSE(files.PathExists(setupPath));
}

}  // namespace qm
