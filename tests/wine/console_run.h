#pragma once
// Running quillmere-cli.exe from the Windows tests with its output kept in files.
#include <windows.h>

#include <filesystem>
#include <string>

#include "cli_run.h"
#include "wine_test_support.h"

namespace qm::testing {

inline DWORD ImportRegFile(const std::filesystem::path& regFile) { return ImportWithRegedit(regFile); }

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
  result.status = RunCommand(CliCommand(arguments), result.output, errorFile);
  result.errors = ReadFileText(errorFile);
  return result;
}

}  // namespace qm::testing
