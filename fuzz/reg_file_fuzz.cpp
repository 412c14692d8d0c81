// The .reg reader over any bytes: malformed files raise Error, and what parses
// imports, exports and parses again.
#include "fuzz_input.h"
#include "platform/error.h"
#include "platform/reg_file.h"
#include "platform/substitute/substitute_registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm;
  SubstituteLocale locale;
  RegFile file;
  try {
    file = ParseRegFile(fuzz::AsBytes(data, size), locale);
  } catch (const Error&) {
    return 0;
  }
  ParseRegText(FormatRegText(file), locale);
  SubstituteRegistry registry;
  try {
    registry.Import(file);
  } catch (const Error&) {
    // a key the registry cannot hold
  }
  return 0;
}
