#pragma once
// The progress shown on a window's taskbar button, in the normal (green) state.
#include <windows.h>
#include <shobjidl.h>

#include "win32/gdi.h"

namespace qm {

class TaskbarProgress {
 public:
  // Shows `position` of `maximum`; nothing happens where the shell offers no taskbar
  // progress (no COM on the thread, or an older shell).
  void Show(HWND window, int position, int maximum);
  // Takes the progress off the taskbar button.
  void Clear(HWND window);

 private:
  ComPtr<ITaskbarList3> taskbar_;
  bool unavailable_ = false;
  bool stateSet_ = false;
};

}  // namespace qm
