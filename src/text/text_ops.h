#pragma once
// Substring tests and replacements on text held as std::wstring.
#include <string>
#include <string_view>

namespace qm {

bool Contains(std::wstring_view text, std::wstring_view part);

// Replaces every occurrence of `from`, left to right and without overlap; the
// comparison is case-sensitive. An empty `from` changes nothing.
void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to);
std::wstring RemoveAll(std::wstring text, std::wstring_view part);

}  // namespace qm
