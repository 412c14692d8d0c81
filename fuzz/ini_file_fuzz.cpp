// The INI engine over any text: reading, writing back and reading again agree.
#include <cstdlib>

#include "fuzz_input.h"
#include "text/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm;
  IniFile file = IniFile::Parse(fuzz::AsText(data, size));
  for (const std::wstring& section : file.Sections()) {
    for (const IniEntry& entry : file.ReadSectionValues(section)) {
      file.ReadInteger(section, entry.name, 0);
      file.ReadBool(section, entry.name, false);
    }
  }
  // What is written back reads as the same sections and entries.
  const std::wstring text = file.Text();
  const IniFile again = IniFile::Parse(text);
  if (again.Text() != text) std::abort();
  // A written value stays one entry, whatever it holds.
  const std::wstring value = fuzz::AsText(data, size);
  file.WriteString(L"Fuzz", L"Value", value);
  if (IniFile::Parse(file.Text()).ReadSection(L"Fuzz").size() != 1) std::abort();
  return 0;
}
