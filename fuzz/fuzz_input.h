#pragma once
// What every fuzz target shares: the input as file bytes and as decoded text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/substitute/substitute_locale.h"
#include "text/encoding.h"

namespace qm::fuzz {

inline Bytes AsBytes(const std::uint8_t* data, std::size_t size) { return Bytes(data, data + size); }

// The input decoded as a file of the program is: by its byte-order mark, ANSI without.
inline std::wstring AsText(const std::uint8_t* data, std::size_t size) {
  SubstituteLocale locale;
  return DecodeText(AsBytes(data, size), locale).text;
}

}  // namespace qm::fuzz
