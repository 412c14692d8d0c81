#pragma once
// The entry names of a zip archive, read from its central directory as the unpacker of
// the portable update reads them, and the test that every entry stays inside the folder
// it is unpacked into.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// The names of the central directory's entries, as stored (bytes, not decoded).
// Nullopt when the archive is truncated, damaged, split over several disks, or its
// entry count does not match the central directory.
std::optional<std::vector<std::string>> ReadZipEntryNames(std::span<const std::uint8_t> archive);

// False for a name that could land outside the target folder: empty, beginning with
// "/" or "\", holding a ":" (a drive, a stream) or a control character, beginning with
// a blank, or with a segment made of two or more dots (and blanks) such as "..".
bool IsSafeZipEntryName(std::string_view name);

// The archive can be read and every entry name is safe.
bool IsSafeToUnpack(std::span<const std::uint8_t> archive);

}  // namespace qm
