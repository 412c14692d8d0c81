#pragma once
// The Windows implementations of the platform seams, made and kept together.
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"

namespace qm {

class WindowsPlatform {
 public:
  WindowsPlatform() = default;
  WindowsPlatform(const WindowsPlatform&) = delete;
  WindowsPlatform& operator=(const WindowsPlatform&) = delete;

  const Platform& Get() const { return platform_; }
  Win32FileSystem& Files() { return files_; }
  Win32Shell& Shell() { return shell_; }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Shell shell_;
  Win32Locale locale_;
  Win32Clock clock_;
  Platform platform_{registry_, files_, shell_, locale_, clock_};
};

}  // namespace qm
