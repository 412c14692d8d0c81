#pragma once
// Running console programs from the Windows tests: quillmere-cli.exe and the
// registry editor.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/win32/unique_handle.h"
#include "wine_test_support.h"

namespace qm::testing {

inline std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

// Starts the command line with stdout (and stderr) going to files; gives the exit code.
inline DWORD RunCommand(std::wstring commandLine, const std::filesystem::path& out = {},
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

// Imports a .reg file with the registry editor of the Windows folder; gives its exit code.
inline DWORD ImportRegFile(const std::filesystem::path& regFile) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return RunCommand(Quoted(std::filesystem::path(windows) / L"regedit.exe") + L" /s " + Quoted(regFile));
}

struct CliResult {
  DWORD status = 0;
  std::filesystem::path output;  // the file that took stdout
  std::string errors;            // what went to stderr
};

// quillmere-cli.exe beside the test program, run with the arguments; its stdout goes
// to the file `outputName` in the same folder.
inline CliResult RunCli(const std::wstring& arguments, const std::wstring& outputName) {
  const std::filesystem::path folder = TestProgramFolder();
  const auto errorFile = folder / (outputName + L".err");
  CliResult result{0, folder / outputName, {}};
  result.status = RunCommand(Quoted(folder / L"quillmere-cli.exe") + L" " + arguments, result.output, errorFile);
  std::ifstream errors(errorFile, std::ios::binary);
  std::stringstream errorText;
  errorText << errors.rdbuf();
  result.errors = errorText.str();
  return result;
}

// The lines of a findings file that name a fixture entry (all hold "Quillmere"), sorted:
// the real registry has entries of its own, and enumerates values in its own order.
inline std::vector<std::string> FixtureLines(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(stream, line);)
    if (line.find("uillmere") != std::string::npos) lines.push_back(line);
  std::ranges::sort(lines);
  return lines;
}

}  // namespace qm::testing
