#pragma once
// Case mapping without a platform: a table of the simple (one-to-one) case pairs of the
// Latin, Greek, Cyrillic, Armenian and full-width Latin letters, and ASCII-only mapping.
#include <string>
#include <string_view>

namespace qm {

wchar_t LowerCaseOf(wchar_t ch);
wchar_t UpperCaseOf(wchar_t ch);
std::wstring LowerCaseText(std::wstring_view text);
std::wstring UpperCaseText(std::wstring_view text);

// Only A-Z and a-z change.
std::wstring AsciiLower(std::wstring_view text);
std::wstring AsciiUpper(std::wstring_view text);

// Equal after mapping A-Z to a-z only.
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b);

// Equal after mapping every character to upper case, as file and INI names compare.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

}  // namespace qm
