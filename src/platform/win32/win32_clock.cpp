#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace qm {

LocalTime Win32Clock::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace qm
