#include "platform/win32/win32_process_launcher.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace qm {

bool Win32ProcessLauncher::Open(std::wstring_view file, std::wstring_view parameters, WindowShow show) {
  const std::wstring fileText(file), parameterText(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  // The program may end right after this call; the start must be complete by then.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = fileText.c_str();
  info.lpParameters = parameterText.empty() ? nullptr : parameterText.c_str();
  info.nShow = show == WindowShow::Hidden ? SW_HIDE : SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace qm
