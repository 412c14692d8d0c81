#pragma once
// Case mapping and the ANSI code page of the running system (user32, kernel32).
#include "platform/locale.h"

namespace qm {

class Win32Locale : public Locale {
 public:
  std::wstring ToLower(std::wstring_view text) override;
  std::wstring ToUpper(std::wstring_view text) override;
  std::wstring FromAnsi(const std::vector<std::uint8_t>& bytes) override;
  std::vector<std::uint8_t> ToAnsi(std::wstring_view text) override;
};

}  // namespace qm
