#include "exclusions/exclusion_file.h"

#include <string>

#include "exclusions/exclusion_list.h"
#include "text/ini_file.h"

namespace qm {

void AppendExclusions(const IniFile& file, ExclusionList& exclusions) {
  const int count = file.ReadInteger(kExclusionSection, L"Count", 0);
  for (int i = 0; i < count; ++i) {
    const std::wstring index = std::to_wstring(i);
    const bool checked = file.ReadBool(kExclusionSection, L"CH" + index, false);
    std::wstring description = file.ReadString(kExclusionSection, L"D" + index);
    std::wstring text = file.ReadString(kExclusionSection, L"Reg" + index);
    exclusions.Add({std::move(text), std::move(description), checked});
  }
}

void WriteExclusions(IniFile& file, const ExclusionList& exclusions) {
  file.WriteInteger(kExclusionSection, L"Count", static_cast<int>(exclusions.Size()));
  for (std::size_t i = 0; i < exclusions.Size(); ++i) {
    const Exclusion& row = exclusions.Rows()[i];
    const std::wstring index = std::to_wstring(i);
    file.WriteString(kExclusionSection, L"Reg" + index, row.text);
    file.WriteString(kExclusionSection, L"D" + index, row.description);
    file.WriteBool(kExclusionSection, L"CH" + index, row.checked);
  }
}

}  // namespace qm
