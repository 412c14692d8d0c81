#pragma once
// The console streams of quillmere-cli: findings go to stdout as UTF-8, messages and
// progress to stderr.
#include <string_view>

namespace qm {

// Once at start: stdout binary (no CR before each LF); a Windows console as stderr
// takes UTF-16 text.
void PrepareConsole();
bool StderrIsTerminal();
void WriteStdout(std::string_view utf8);
// UTF-8, or UTF-16 when stderr is a Windows console.
void WriteStderr(std::wstring_view text);

}  // namespace qm
