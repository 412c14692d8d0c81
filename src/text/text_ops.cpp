#include "text/text_ops.h"

#include <cwctype>

namespace qm {

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

std::wstring LabelWithNumber(std::wstring_view label, std::size_t number) {
  std::wstring text(label);
  if (!text.empty() && !iswspace(text.back())) text += L' ';
  return text + std::to_wstring(number);
}

}  // namespace qm
