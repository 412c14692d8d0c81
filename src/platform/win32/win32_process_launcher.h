#pragma once
// Starts programs and scripts through the shell's "open" verb.
#include "platform/process_launcher.h"

namespace qm {

class Win32ProcessLauncher : public ProcessLauncher {
 public:
  bool Open(std::wstring_view file, std::wstring_view parameters, WindowShow show) override;
};

}  // namespace qm
