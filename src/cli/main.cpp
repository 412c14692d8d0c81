// quillmere-cli: the console front end over the core.
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "text/encoding.h"

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  return qm::RunCli(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(qm::FromUtf8(argv[i]));
  return qm::RunCli(args);
}
#endif
