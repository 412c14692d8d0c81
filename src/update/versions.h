#pragma once
// Version texts such as "1.2.0.5".
#include <string>
#include <string_view>

namespace qm {

// Compares two versions part by part: parts end at ".", blanks and control characters;
// a part that is not a decimal number and a part the shorter version lacks count as 0.
// 1 when `a` is newer, -1 when `b` is newer, 0 when they are equal.
int CompareVersions(std::wstring_view a, std::wstring_view b);

// The text without leading and trailing blanks and control characters.
std::wstring TrimBlanks(std::wstring_view text);

}  // namespace qm
