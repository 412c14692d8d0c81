#pragma once
// The version information of a program file. Never fails: a file without version
// information, or without the string asked for, gives an empty text.
#include <string>
#include <string_view>

namespace qm {

std::wstring ReadVersionInfoString(std::wstring_view file, std::wstring_view name);
std::wstring ReadCompanyName(std::wstring_view file);
std::wstring ReadLegalCopyright(std::wstring_view file);
// The FileVersion string normalised to digits and dots, else the fixed file version.
std::wstring ReadFileVersion(std::wstring_view file);

}  // namespace qm
