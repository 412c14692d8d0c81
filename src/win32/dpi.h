#pragma once
// Dots per inch of a window, with fallbacks for Windows 10 releases before 1607.
#include <windows.h>

namespace qm {

// The window's DPI; the system DPI where the per-window query does not exist.
int WindowDpi(HWND window);
// The outer size of a window whose client area is `client` at `dpi`.
SIZE OuterSizeForClient(SIZE client, DWORD style, DWORD exStyle, int dpi);

}  // namespace qm
