// Path extraction over the real file system and case mapping.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../common/run_path_examples.h"
#include "platform/substitute/substitute_shell.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_shell.h"
#include "scan/run_path.h"
#include "text/encoding.h"

namespace qm::testing {

namespace {

// The examples need a Windows folder that holds exactly the files they name, so the
// shell answers with folders of a test tree on C:.
TEST(RunPathUnderWine, WorkedExamples) {
  const std::filesystem::path root = L"C:\\QuillmereRunPath";
  const std::wstring windows = root.wstring() + L"\\Windows";
  const std::wstring system = windows + L"\\system32";
  const std::wstring common = root.wstring() + L"\\Program Files (x86)\\Common Files";
  std::filesystem::remove_all(root);
  for (const std::wstring& file : {system + L"\\shell32.dll", windows + L"\\notepad.exe", system + L"\\notepad.exe",
                                   windows + L"\\explorer.exe"}) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(std::filesystem::path(file)) << "x";
  }
  SubstituteShell shell;
  shell.SetWindowsDirectory(windows);
  shell.SetSpecialFolder(csidl::Windows, windows);
  shell.SetSpecialFolder(csidl::System, system);
  shell.SetSpecialFolder(csidl::ProgramFilesCommon, common);
  shell.SetSpecialFolder(csidl::ProgramFilesCommonX86, common);
  Win32FileSystem files;
  Win32Locale locale;
  const std::map<std::wstring, std::wstring> folders{
      {L"{windows}", windows}, {L"{system}", system}, {L"{common}", common}, {L"{commonx86}", common}, {L"{drive}", L"C"}};
  for (const RunPathExample& example : kRunPathExamples)
    EXPECT_EQ(RunPath(example.data, files, shell, locale), ExpectedRunPath(example.expected, folders))
        << "data: " << ToUtf8(example.data);
  std::filesystem::remove_all(root);
}

TEST(RunPathUnderWine, UsesThePlatformsFolders) {
  Win32Shell shell;
  Win32FileSystem files;
  Win32Locale locale;
  wchar_t windows[MAX_PATH], system[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(shell.SpecialFolderPath(csidl::Windows), windows);
  EXPECT_EQ(shell.SpecialFolderPath(csidl::System), system);
  EXPECT_EQ(RunPath(L"notepad.exe %1", files, shell, locale), std::wstring(system) + L"\\notepad.exe");
  EXPECT_EQ(RunPath(L"%SystemRoot%\\System32\\shell32.dll,-21787", files, shell, locale),
            std::wstring(windows) + L"\\system32\\shell32.dll");
}

}  // namespace

}  // namespace qm::testing
