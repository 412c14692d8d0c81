#pragma once
// Identifiers shared by the parts of the window code.
#include <windows.h>

namespace qm {

// Controls and menu items get this plus their index in the component table.
inline constexpr UINT kFirstComponentId = 100;
// Menu items made at run time, not components (the language list), from this one on.
inline constexpr UINT kFirstRuntimeItemId = 0x4000;
// Posted to a window that holds errors to show once the failed handler has returned.
inline constexpr UINT kShowPendingErrors = WM_APP + 1;

}  // namespace qm
