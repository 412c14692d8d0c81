#pragma once
// Case mapping by the built-in table and a single-byte ANSI code page, 1251 (Cyrillic)
// unless 1252 (Western) is chosen. Characters the code page lacks become '?'.
#include <array>
#include <unordered_map>

#include "platform/locale.h"

namespace qm {

class SubstituteLocale : public Locale {
 public:
  explicit SubstituteLocale(int ansiCodePage = 1251);

  int AnsiCodePage() const { return codePage_; }

  std::wstring ToLower(std::wstring_view text) override;
  std::wstring ToUpper(std::wstring_view text) override;
  std::wstring FromAnsi(const std::vector<std::uint8_t>& bytes) override;
  std::vector<std::uint8_t> ToAnsi(std::wstring_view text) override;

 private:
  int codePage_;
  std::array<wchar_t, 128> upperHalf_{};  // the characters of bytes 0x80 to 0xFF
  std::unordered_map<wchar_t, std::uint8_t> bytesOfCharacters_;
};

}  // namespace qm
