#pragma once
// The update window's one setting in the settings file: "Option"/"CheckBoxAutoCheck",
// whether the update check runs at start-up; on when missing or not a number.
namespace qm {

class IniFile;

bool ReadAutoCheck(const IniFile& settings);
void WriteAutoCheck(IniFile& settings, bool autoCheck);

}  // namespace qm
