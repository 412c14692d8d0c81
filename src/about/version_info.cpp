#include "about/version_info.h"

#include <cstdio>

namespace qm {

namespace {

std::wstring AsciiToText(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

}  // namespace

std::wstring TranslationCode(std::span<const std::uint8_t> translationTable) {
  constexpr std::wstring_view kFallback = L"040904E4";
  if (translationTable.size() < 4) return std::wstring(kFallback);
  const unsigned language = translationTable[0] | (translationTable[1] << 8);
  const unsigned codePage = translationTable[2] | (translationTable[3] << 8);
  if (language == 0 && codePage == 0) return std::wstring(kFallback);
  char code[9];
  std::snprintf(code, sizeof code, "%.4x%.4x", language, codePage);
  return AsciiToText(code);
}

std::wstring NormalizeFileVersion(std::wstring_view text) {
  std::wstring version;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      version += c;
    } else if (c == L'.' || c == L',') {
      if (!version.empty() && version.back() != L'.') version += L'.';
    } else if (c != L' ') {
      break;
    }
  }
  if (!version.empty() && version.back() == L'.') version.pop_back();
  return version;
}

std::wstring FixedFileVersionText(std::uint32_t versionMostSignificant, std::uint32_t versionLeastSignificant) {
  char text[48];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", versionMostSignificant >> 16, versionMostSignificant & 0xFFFF,
                versionLeastSignificant >> 16, versionLeastSignificant & 0xFFFF);
  return AsciiToText(text);
}

}  // namespace qm
