#include "platform/win32/win32_locale.h"

#include <windows.h>

#include <limits>
#include <stdexcept>

namespace qm {

namespace {

int ApiLength(size_t length) {
  if (length > static_cast<size_t>(std::numeric_limits<int>::max())) throw std::length_error("text too long to convert");
  return static_cast<int>(length);
}

template <typename Convert>
std::wstring MapCase(std::wstring_view text, Convert convert) {
  std::wstring result(text);
  if (!result.empty()) convert(result.data(), static_cast<DWORD>(ApiLength(result.size())));
  return result;
}

}  // namespace

std::wstring Win32Locale::ToLower(std::wstring_view text) { return MapCase(text, CharLowerBuffW); }
std::wstring Win32Locale::ToUpper(std::wstring_view text) { return MapCase(text, CharUpperBuffW); }

std::wstring Win32Locale::FromAnsi(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return {};
  const auto* source = reinterpret_cast<const char*>(bytes.data());
  const int sourceLength = ApiLength(bytes.size());
  std::wstring text(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, source, sourceLength, nullptr, 0)), L'\0');
  text.resize(static_cast<size_t>(
      MultiByteToWideChar(CP_ACP, 0, source, sourceLength, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<std::uint8_t> Win32Locale::ToAnsi(std::wstring_view text) {
  if (text.empty()) return {};
  const int sourceLength = ApiLength(text.size());
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), sourceLength, nullptr, 0, nullptr, nullptr);
  std::vector<std::uint8_t> bytes(static_cast<size_t>(size));
  const int written = WideCharToMultiByte(CP_ACP, 0, text.data(), sourceLength, reinterpret_cast<char*>(bytes.data()),
                                          size, nullptr, nullptr);
  bytes.resize(static_cast<size_t>(written));
  return bytes;
}

}  // namespace qm
