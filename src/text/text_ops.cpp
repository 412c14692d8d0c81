#include "text/text_ops.h"

#include <algorithm>

namespace qm {

namespace {

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + (L'a' - L'A')) : c; }
wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - (L'a' - L'A')) : c; }

}  // namespace

bool Contains(std::wstring_view text, std::wstring_view part) {
  return text.find(part) != std::wstring_view::npos;
}

void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to) {
  if (from.empty()) return;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::wstring RemoveAll(std::wstring text, std::wstring_view part) {
  ReplaceAll(text, part, {});
  return text;
}

std::wstring AsciiLower(std::wstring_view text) {
  std::wstring result(text);
  std::ranges::transform(result, result.begin(), LowerAscii);
  return result;
}

std::wstring AsciiUpper(std::wstring_view text) {
  std::wstring result(text);
  std::ranges::transform(result, result.begin(), UpperAscii);
  return result;
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
  return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace qm
