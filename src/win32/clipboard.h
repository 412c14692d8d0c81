#pragma once
#include <windows.h>

#include <string_view>

namespace qm {

// Replaces the clipboard's content with the text; false when the clipboard is busy.
bool PutTextOnClipboard(HWND owner, std::wstring_view text);

}  // namespace qm
