#pragma once
// The rules by which the program reads its own version information (the reader itself
// is Windows code: platform/win32/win32_version_info.h).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace qm {

// The code under which the version strings are looked up: the first language and code
// page of the translation table as eight lower-case hexadecimal digits; "040904E4" when
// the table is shorter than 4 bytes or gives "00000000".
std::wstring TranslationCode(std::span<const std::uint8_t> translationTable);

// A FileVersion string reduced to digits and dots: "1, 2, 0, 5" gives 1.2.0.5 and
// "3.1.4 beta" gives 3.1.4. Empty when nothing usable is in it.
std::wstring NormalizeFileVersion(std::wstring_view text);

// The file version of the fixed part, "major.minor.release.build".
std::wstring FixedFileVersionText(std::uint32_t versionMostSignificant, std::uint32_t versionLeastSignificant);

}  // namespace qm
