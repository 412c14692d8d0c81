#pragma once
// Shell and process services (platform seam).
#include <string>
#include <string_view>

namespace qm {

namespace csidl {
constexpr int AppData = 0x1A, Windows = 0x24, System = 0x25, ProgramFilesCommon = 0x2B,
              ProgramFilesCommonX86 = 0x2C, Fonts = 0x14, ProgramFiles = 0x26, ProgramFilesX86 = 0x2A;
}

class Shell {
 public:
  virtual ~Shell() = default;
  // The folder's current path without a trailing backslash; empty on failure.
  virtual std::wstring SpecialFolderPath(int folderNumber) = 0;
  // GetWindowsDirectory.
  virtual std::wstring WindowsDirectory() = 0;
  // The user's temporary folder, with a trailing backslash.
  virtual std::wstring TempFolder() = 0;
  // Full path of the running program file.
  virtual std::wstring ProgramFilePath() = 0;
  // ShellExecute with the "open" verb; true when it was started.
  virtual bool Open(std::wstring_view target, std::wstring_view parameters = {}) = 0;
};

}  // namespace qm
