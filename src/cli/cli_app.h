#pragma once
#include <string>
#include <vector>

namespace qm {

// quillmere-cli with the arguments after the program name. Gives the exit status:
// 0 done, 1 an error (its message on stderr), 2 a wrong command line.
int RunCli(const std::vector<std::wstring>& args);

}  // namespace qm
