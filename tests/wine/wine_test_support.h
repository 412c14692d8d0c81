#pragma once
// Helpers of the Windows tests: the folder of the test program and a scratch folder.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <filesystem>
#include <string>

#include "platform/win32/win32_shell.h"

namespace qm::testing {

// What a test suite that drives windows needs first: COM on this thread (for the
// taskbar button) and the common controls the windows are made of.
inline void PrepareWindowTests() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
}

// The folder that holds the test programs, with a trailing backslash.
inline std::wstring TestProgramFolder() {
  Win32Shell shell;
  const std::wstring program = shell.ProgramFilePath();
  return program.substr(0, program.find_last_of(L'\\') + 1);
}

// A fresh folder in the user's temporary folder, removed with its contents afterwards.
class ScratchFolder {
 public:
  ScratchFolder() {
    path_ = Win32Shell().TempFolder() + L"qm-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount64());
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(L"\\\\?\\" + path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's path without a trailing backslash.
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace qm::testing
