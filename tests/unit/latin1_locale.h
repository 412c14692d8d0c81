#pragma once
// A locale whose ANSI code page is ISO 8859-1, so that tests know every byte's character.
#include "platform/locale.h"

namespace qm {

class Latin1Locale : public Locale {
 public:
  std::wstring ToLower(std::wstring_view text) override { return Map(text, L'A', L'Z', 32); }
  std::wstring ToUpper(std::wstring_view text) override { return Map(text, L'a', L'z', -32); }
  std::wstring FromAnsi(const std::vector<std::uint8_t>& bytes) override { return std::wstring(bytes.begin(), bytes.end()); }
  std::vector<std::uint8_t> ToAnsi(std::wstring_view text) override {
    std::vector<std::uint8_t> bytes;
    for (wchar_t ch : text) bytes.push_back(static_cast<std::uint32_t>(ch) < 0x100 ? static_cast<std::uint8_t>(ch) : '?');
    return bytes;
  }

 private:
  static std::wstring Map(std::wstring_view text, wchar_t first, wchar_t last, int shift) {
    std::wstring out(text);
    for (wchar_t& ch : out)
      if (ch >= first && ch <= last) ch = static_cast<wchar_t>(ch + shift);
    return out;
  }
};

}  // namespace qm
