#pragma once
// Identifiers shared by the parts of the window code.
#include <windows.h>

namespace qm {

// Controls and menu items get this plus their index in the component table.
inline constexpr UINT kFirstComponentId = 100;
// Posted to a window that holds errors to show once the failed handler has returned.
inline constexpr UINT kShowPendingErrors = WM_APP + 1;

}  // namespace qm
