#pragma once
// The system's own message text for an error code, without the closing line break.
#include <windows.h>

#include <string>

namespace qm {

std::wstring SystemErrorText(DWORD errorCode);

}  // namespace qm
