#pragma once
// Starting another program or a script (platform seam). Windows: the shell's "open".
#include <string_view>

namespace qm {

enum class WindowShow { Normal, Hidden };

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Opens the file with the parameters; true when it was started.
  virtual bool Open(std::wstring_view file, std::wstring_view parameters, WindowShow show) = 0;
};

}  // namespace qm
