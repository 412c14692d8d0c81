#pragma once
// Starting quillmere-cli.exe and the registry editor from the Windows tests, and
// reading what the fixtures expect.
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qm::testing {

// Starts the command line with stdout and stderr going to files (nowhere when a path
// is empty) and waits for it; gives the exit code, or -1 when it does not start.
DWORD RunCommand(std::wstring commandLine, const std::filesystem::path& out = {}, const std::filesystem::path& err = {});

std::wstring Quoted(const std::filesystem::path& path);

// "regedit /s" of the Windows folder with the file; gives the exit code.
DWORD ImportWithRegedit(const std::filesystem::path& regFile);

// quillmere-cli.exe beside the test program, with the arguments that follow it.
std::wstring CliCommand(const std::wstring& arguments);

// The whole text of a file.
std::string ReadFileText(const std::filesystem::path& file);

// The lines of a file that name a fixture entry (they contain "uillmere"), sorted.
std::vector<std::string> FixtureLines(const std::filesystem::path& file);

}  // namespace qm::testing
