#include "update/update_settings.h"

#include <string_view>

#include "text/ini_file.h"

namespace qm {

namespace {

constexpr std::wstring_view kSection = L"Option";
constexpr std::wstring_view kAutoCheckKey = L"CheckBoxAutoCheck";

}  // namespace

bool ReadAutoCheck(const IniFile& settings) { return settings.ReadBool(kSection, kAutoCheckKey, true); }

void WriteAutoCheck(IniFile& settings, bool autoCheck) { settings.WriteBool(kSection, kAutoCheckKey, autoCheck); }

}  // namespace qm
