#pragma once
// Helpers of the Windows tests: the folder of the test program, a scratch folder and
// programs started and waited for.
#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_shell.h"

namespace qm::testing {

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

inline std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

// Starts the command line with stdout and stderr going to files (nowhere when not
// given), waits for it and gives its exit code; -1 when it did not start.
inline DWORD RunCommand(std::wstring commandLine, const std::filesystem::path& out = {},
                        const std::filesystem::path& err = {}) {
  SECURITY_ATTRIBUTES inherit{};
  inherit.nLength = sizeof(inherit);
  inherit.bInheritHandle = TRUE;
  auto open = [&](const std::filesystem::path& path) {
    return path.empty() ? INVALID_HANDLE_VALUE
                        : CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  };
  UniqueFile outFile(open(out)), errFile(open(err));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outFile.get();
  startup.hStdError = errFile.get();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return static_cast<DWORD>(-1);
  UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  return code;
}

}  // namespace qm::testing
