#include "cli/console.h"

#include <cstdio>
#include <string>

#include "text/encoding.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace qm {

void PrepareConsole() {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  if (StderrIsTerminal()) _setmode(_fileno(stderr), _O_U16TEXT);
#endif
}

bool StderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(fileno(stderr)) != 0;
#endif
}

void WriteStdout(std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fflush(stdout);
}

void WriteStderr(std::wstring_view text) {
#ifdef _WIN32
  if (StderrIsTerminal()) {
    std::fputws(std::wstring(text).c_str(), stderr);
    return;
  }
#endif
  const std::string utf8 = ToUtf8(text);
  std::fwrite(utf8.data(), 1, utf8.size(), stderr);
  std::fflush(stderr);
}

}  // namespace qm
