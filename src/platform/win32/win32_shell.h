#pragma once
// Shell services through shell32 and kernel32.
#include "platform/shell.h"

namespace qm {

class Win32Shell : public Shell {
 public:
  std::wstring SpecialFolderPath(int folderNumber) override;
  std::wstring WindowsDirectory() override;
  std::wstring TempFolder() override;
  std::wstring ProgramFilePath() override;
  bool Open(std::wstring_view target, std::wstring_view parameters = {}) override;
};

}  // namespace qm
