#pragma once
// Substring tests and replacements on text held as std::wstring.
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

bool Contains(std::wstring_view text, std::wstring_view part);

// Replaces every occurrence of `from`, left to right and without overlap; the
// comparison is case-sensitive. An empty `from` changes nothing.
void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to);
std::wstring RemoveAll(std::wstring text, std::wstring_view part);

// A label followed by a number: "Всего: 5". Texts read from a language file lose
// their final blank, so one is put back when the label does not end in one.
std::wstring LabelWithNumber(std::wstring_view label, std::size_t number);

}  // namespace qm
