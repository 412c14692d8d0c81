#pragma once
// Locale services (platform seam): case mapping and the ANSI code page.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class Locale {
 public:
  virtual ~Locale() = default;
  // Locale-aware, full-Unicode case mapping (CharLowerBuff / CharUpperBuff).
  virtual std::wstring ToLower(std::wstring_view text) = 0;
  virtual std::wstring ToUpper(std::wstring_view text) = 0;
  // The system ANSI code page.
  virtual std::wstring FromAnsi(const std::vector<std::uint8_t>& bytes) = 0;
  virtual std::vector<std::uint8_t> ToAnsi(std::wstring_view text) = 0;
};

}  // namespace qm
