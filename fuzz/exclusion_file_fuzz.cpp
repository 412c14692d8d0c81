// The exclusion file over any text: rows come out, however the file is broken.
#include <algorithm>
#include <cstdlib>

#include "exclusions/exclusion_file.h"
#include "exclusions/exclusion_list.h"
#include "fuzz_input.h"
#include "text/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm;
  const IniFile file = IniFile::Parse(fuzz::AsText(data, size));
  ExclusionList exclusions;
  AppendExclusions(file, exclusions);
  // However large the count, the rows stay few enough to show.
  if (exclusions.Size() > static_cast<std::size_t>(kMaxExclusionRows)) std::abort();
  SubstituteLocale locale;
  // A scan asks once per finding; a few rows as candidates are enough.
  for (std::size_t row = 0; row < std::min<std::size_t>(exclusions.Size(), 8); ++row)
    IsExcluded(exclusions, exclusions.Rows()[row].text, locale);
  return 0;
}
