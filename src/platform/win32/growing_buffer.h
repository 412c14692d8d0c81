#pragma once
// Reads text from the many Windows calls that fill a caller's buffer and tell by their
// result whether it was large enough.
#include <windows.h>

#include <algorithm>
#include <string>

namespace qm {

// `fill(buffer, size)` returns the length written (less than `size`), or the size
// needed or `size` itself when the buffer was too small, or 0 on failure.
template <typename Fill>
std::wstring ReadIntoGrowingBuffer(Fill fill) {
  constexpr DWORD kLargest = 1u << 20;
  std::wstring buffer(MAX_PATH + 1, L'\0');
  while (buffer.size() <= kLargest) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    const DWORD length = fill(buffer.data(), size);
    if (length == 0) return {};
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(std::max<size_t>(length + 1, buffer.size() * 2));
  }
  return {};
}

}  // namespace qm
