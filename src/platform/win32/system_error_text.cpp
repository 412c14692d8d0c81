#include "platform/win32/system_error_text.h"

namespace qm {

std::wstring SystemErrorText(DWORD errorCode) {
  wchar_t buffer[1024];
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, errorCode, 0,
                                      buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::wstring text(buffer, length);
  while (!text.empty() && static_cast<unsigned>(text.back()) <= L' ') text.pop_back();
  return text.empty() ? L"System error " + std::to_wstring(errorCode) + L"." : text;
}

}  // namespace qm
