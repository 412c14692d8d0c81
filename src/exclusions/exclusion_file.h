#pragma once
// The exclusion file: INI text with one section "ExclusionReg" holding "Count" and,
// for each row i from 0, "Reg<i>" (the text), "D<i>" (the description) and "CH<i>"
// (1 when checked).
#include <string_view>

namespace qm {

class ExclusionList;
class IniFile;

inline constexpr std::wstring_view kExclusionSection = L"ExclusionReg";

// Appends the file's rows to the list in file order. A missing or non-numeric
// "Count" gives no rows; missing row keys give empty texts, unchecked.
void AppendExclusions(const IniFile& file, ExclusionList& exclusions);

}  // namespace qm
