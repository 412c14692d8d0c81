#include "win32/taskbar_progress.h"

#include <algorithm>

namespace qm {

void TaskbarProgress::Show(HWND window, int position, int maximum) {
  if (unavailable_ || !window) return;
  if (!taskbar_) {
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                taskbar_.put_void())) ||
        FAILED(taskbar_->HrInit())) {
      taskbar_.reset();
      unavailable_ = true;
      return;
    }
  }
  if (!stateSet_) stateSet_ = SUCCEEDED(taskbar_->SetProgressState(window, TBPF_NORMAL));
  const ULONGLONG total = static_cast<ULONGLONG>(std::max(maximum, 1));
  const ULONGLONG done = static_cast<ULONGLONG>(std::clamp(position, 0, std::max(maximum, 0)));
  taskbar_->SetProgressValue(window, done, total);
}

void TaskbarProgress::Clear(HWND window) {
  if (!taskbar_ || !window) return;
  taskbar_->SetProgressState(window, TBPF_NOPROGRESS);
  stateSet_ = false;
}

}  // namespace qm
