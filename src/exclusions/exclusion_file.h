#pragma once
// The exclusion file: INI text with one section "ExclusionReg" holding "Count" and,
// for each row i from 0, "Reg<i>" (the text), "D<i>" (the description) and "CH<i>"
// (1 when checked). Keys of rows at or past "Count" may stay in the file; they are
// never read.
#include <string_view>

namespace qm {

class ExclusionList;
class IniFile;

inline constexpr std::wstring_view kExclusionSection = L"ExclusionReg";

// Appends the file's rows to the list in file order. A missing or non-numeric
// "Count" gives no rows; missing row keys give empty texts, unchecked.
void AppendExclusions(const IniFile& file, ExclusionList& exclusions);

// Writes "Count" and then each row's Reg, D and CH keys. Keys already in the file keep
// their place; the keys of rows past the new "Count" and every other section and key
// stay as they are.
void WriteExclusions(IniFile& file, const ExclusionList& exclusions);

}  // namespace qm
