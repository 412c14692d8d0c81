#pragma once
// Helpers of the Windows tests: the folder of the test program, a scratch folder and
// programs started with their output going to files.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_shell.h"

namespace qm::testing {

// The folder that holds the test programs, with a trailing backslash.
inline std::wstring TestProgramFolder() {
  Win32Shell shell;
  const std::wstring program = shell.ProgramFilePath();
  return program.substr(0, program.find_last_of(L'\\') + 1);
}

inline std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

// Starts the command line with stdout (and stderr) going to files; gives the exit code.
inline DWORD RunProgram(std::wstring commandLine, const std::filesystem::path& out = {},
                        const std::filesystem::path& err = {}) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
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

// Imports a registry file with the registry editor of the Windows folder; gives its
// exit code.
inline DWORD ImportWithRegedit(const std::filesystem::path& regFile) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return RunProgram(Quoted(std::filesystem::path(windows) / L"regedit.exe") + L" /s " + Quoted(regFile));
}

// The whole content of a file; empty when it cannot be read.
inline std::string FileText(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

// The lines of a file that name a test fixture (they carry "Quillmere" in any case),
// sorted, since the real registry lists values in an order of its own.
inline std::vector<std::string> FixtureLines(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(stream, line);)
    if (line.find("uillmere") != std::string::npos) lines.push_back(line);
  std::ranges::sort(lines);
  return lines;
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
