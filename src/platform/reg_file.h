#pragma once
// Registry export files as the registry editor reads and writes them.
//
// Reading takes both "Windows Registry Editor Version 5.00" (UTF-16 LE with BOM) and
// "REGEDIT4" (ANSI) files. Writing always produces the version 5 format, laid out byte
// for byte as the registry editor's own export: "[key]" lines, `"name"=` or `@=` entries,
// hex lists wrapped at the editor's column limit, a blank line after each key, CR LF.
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "text/encoding.h"

namespace qm {

class Locale;

enum class RegFileFormat { Version5, Regedit4 };

inline constexpr std::wstring_view kRegFileSignature = L"Windows Registry Editor Version 5.00";
inline constexpr std::wstring_view kRegedit4Signature = L"REGEDIT4";

// One entry of a key: a value to set, or (no value) a `"name"=-` deletion.
// An empty name is the default value, written `@`.
struct RegFileValue {
  std::wstring name;
  std::optional<RegValue> value;
  friend bool operator==(const RegFileValue&, const RegFileValue&) = default;
};

// One "[key]" block, or a "[-key]" deletion. `path` is below the root, without
// leading or trailing backslash (empty for the root itself).
struct RegFileKey {
  RootKey root = RootKey::CurrentUser;
  std::wstring path;
  bool deleted = false;
  std::vector<RegFileValue> values;
  friend bool operator==(const RegFileKey&, const RegFileKey&) = default;
};

struct RegFile {
  RegFileFormat format = RegFileFormat::Version5;
  std::vector<RegFileKey> keys;
  friend bool operator==(const RegFile&, const RegFile&) = default;
};

// Parses decoded text. In a REGEDIT4 file the data of hex(2) and hex(7) entries are
// ANSI bytes, converted through `locale`. Malformed input raises Error naming the line.
RegFile ParseRegText(std::wstring_view text, Locale& locale);
// Decodes the file's bytes by their byte-order mark (ANSI without one), then parses.
RegFile ParseRegFile(const Bytes& bytes, Locale& locale);

// "HKEY_CURRENT_USER\Software\X" from the root and the path below it.
std::wstring RegKeyFullPath(RootKey root, std::wstring_view path);

// The signature line followed by a blank line.
std::wstring FormatRegFileHeader();
// One entry line (hex data wrapped over several lines), ending in CR LF.
std::wstring FormatRegValue(std::wstring_view name, const RegValue& value);
// `"name"=-` (or `@=-`), ending in CR LF.
std::wstring FormatDeletedValue(std::wstring_view name);
// "[fullKeyPath]", the entries in order, then a blank line.
std::wstring FormatRegKeyBlock(std::wstring_view fullKeyPath, std::span<const RegFileValue> values);
// "[-fullKeyPath]" then a blank line.
std::wstring FormatDeletedKey(std::wstring_view fullKeyPath);
// The header and every key block of the file, in the version 5 format.
std::wstring FormatRegText(const RegFile& file);
// The bytes of a version 5 file: UTF-16 LE with its byte-order mark.
Bytes EncodeRegFileText(std::wstring_view text);

}  // namespace qm
