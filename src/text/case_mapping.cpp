#include "text/case_mapping.h"

#include <algorithm>
#include <array>

namespace qm {

namespace {

// Upper-case letters `first`..`last` map to lower case by adding `delta`. In an
// alternating range only every second code (from `first`) is upper case, and its
// lower-case partner is the code that follows it.
struct CaseRange {
  char32_t first, last;
  int delta;
  bool alternating;
};

constexpr std::array<CaseRange, 33> kCaseRanges{{
    {0x0041, 0x005A, 32, false},   {0x00C0, 0x00D6, 32, false},  {0x00D8, 0x00DE, 32, false},
    {0x0100, 0x012F, 1, true},     {0x0132, 0x0137, 1, true},    {0x0139, 0x0148, 1, true},
    {0x014A, 0x0177, 1, true},     {0x0178, 0x0178, -121, false}, {0x0179, 0x017E, 1, true},
    {0x0386, 0x0386, 38, false},   {0x0388, 0x038A, 37, false},  {0x038C, 0x038C, 64, false},
    {0x038E, 0x038F, 63, false},   {0x0391, 0x03A1, 32, false},  {0x03A3, 0x03AB, 32, false},
    {0x03D8, 0x03EF, 1, true},     {0x0400, 0x040F, 80, false},  {0x0410, 0x042F, 32, false},
    {0x0460, 0x0481, 1, true},     {0x048A, 0x04BF, 1, true},    {0x04C0, 0x04C0, 15, false},
    {0x04C1, 0x04CE, 1, true},     {0x04D0, 0x052F, 1, true},    {0x0531, 0x0556, 48, false},
    {0x10A0, 0x10C5, 7264, false}, {0x1E00, 0x1E95, 1, true},    {0x1EA0, 0x1EFF, 1, true},
    {0x2160, 0x216F, 16, false},   {0x24B6, 0x24CF, 26, false},  {0x2C00, 0x2C2E, 48, false},
    {0xFF21, 0xFF3A, 32, false},   {0x01CD, 0x01DC, 1, true},    {0x01DE, 0x01EF, 1, true},
}};

// Letters whose other case is not the inverse of a range above: one way only.
struct CasePair {
  char32_t from, to;
};
constexpr std::array<CasePair, 1> kExtraLower{{{0x0130, 0x0069}}};
constexpr std::array<CasePair, 4> kExtraUpper{{{0x00B5, 0x039C}, {0x0131, 0x0049}, {0x017F, 0x0053}, {0x03C2, 0x03A3}}};

wchar_t ExtraMapping(char32_t code, const auto& pairs) {
  for (const auto& pair : pairs)
    if (code == pair.from) return static_cast<wchar_t>(pair.to);
  return 0;
}

bool InRange(char32_t code, char32_t first, char32_t last, bool alternating) {
  return code >= first && code <= last && (!alternating || (code - first) % 2 == 0);
}

template <typename Map>
std::wstring MapEach(std::wstring_view text, Map map) {
  std::wstring out(text);
  std::transform(out.begin(), out.end(), out.begin(), map);
  return out;
}

}  // namespace

wchar_t LowerCaseOf(wchar_t ch) {
  const auto code = static_cast<char32_t>(ch);
  if (code < 0x80) return (code >= L'A' && code <= L'Z') ? wchar_t(code + 32) : ch;
  if (wchar_t extra = ExtraMapping(code, kExtraLower)) return extra;
  for (const auto& range : kCaseRanges)
    if (InRange(code, range.first, range.last, range.alternating)) return static_cast<wchar_t>(code + range.delta);
  return ch;
}

wchar_t UpperCaseOf(wchar_t ch) {
  const auto code = static_cast<char32_t>(ch);
  if (code < 0x80) return (code >= L'a' && code <= L'z') ? wchar_t(code - 32) : ch;
  if (wchar_t extra = ExtraMapping(code, kExtraUpper)) return extra;
  for (const auto& range : kCaseRanges)
    if (InRange(code, range.first + range.delta, range.last + range.delta, range.alternating))
      return static_cast<wchar_t>(code - range.delta);
  return ch;
}

std::wstring LowerCaseText(std::wstring_view text) { return MapEach(text, LowerCaseOf); }
std::wstring UpperCaseText(std::wstring_view text) { return MapEach(text, UpperCaseOf); }

std::wstring AsciiLower(std::wstring_view text) {
  return MapEach(text, [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; });
}

std::wstring AsciiUpper(std::wstring_view text) {
  return MapEach(text, [](wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; });
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](wchar_t x, wchar_t y) { return x == y || UpperCaseOf(x) == UpperCaseOf(y); });
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
  auto lower = [](wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? wchar_t(ch + 32) : ch; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](wchar_t x, wchar_t y) { return lower(x) == lower(y); });
}

}  // namespace qm
