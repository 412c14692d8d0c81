#pragma once
// Plain text operations on UTF-16 text held as std::wstring: substring tests,
// replacements and the ASCII-only case mappings that some registry rules use.
#include <string>
#include <string_view>

namespace qm {

bool Contains(std::wstring_view text, std::wstring_view part);

// Replaces every occurrence of `from`, left to right and without overlap; the
// comparison is case-sensitive. An empty `from` changes nothing.
void ReplaceAll(std::wstring& text, std::wstring_view from, std::wstring_view to);
std::wstring RemoveAll(std::wstring text, std::wstring_view part);

// Case mappings of the letters A to Z only; every other character is kept.
std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace qm
