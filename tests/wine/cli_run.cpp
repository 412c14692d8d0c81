#include "cli_run.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/win32/unique_handle.h"
#include "wine_test_support.h"

namespace qm::testing {

DWORD RunCommand(std::wstring commandLine, const std::filesystem::path& out, const std::filesystem::path& err) {
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

std::wstring Quoted(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

DWORD ImportWithRegedit(const std::filesystem::path& regFile) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return RunCommand(Quoted(std::filesystem::path(windows) / L"regedit.exe") + L" /s " + Quoted(regFile));
}

std::wstring CliCommand(const std::wstring& arguments) {
  return Quoted(std::filesystem::path(TestProgramFolder()) / L"quillmere-cli.exe") + L" " + arguments;
}

std::string ReadFileText(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::stringstream text;
  text << stream.rdbuf();
  return text.str();
}

std::vector<std::string> FixtureLines(const std::filesystem::path& file) {
  std::istringstream text(ReadFileText(file));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);)
    if (line.find("uillmere") != std::string::npos) lines.push_back(line);
  std::ranges::sort(lines);
  return lines;
}

}  // namespace qm::testing
