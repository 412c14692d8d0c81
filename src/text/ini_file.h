#pragma once
// INI text as every INI file of the program is kept: read whole into memory, changed
// there, written back whole in the encoding it was read in.
//
// Lines are trimmed of blanks and control characters; empty lines and lines that begin
// with ';' are skipped. "[name]" opens a section; other lines in a section are entries
// "name=value" split at the first '=' (a line without one is a name with an empty
// value). Lines before the first section and under a repeated section header are
// ignored. Names compare without regard to case; where a name occurs twice in a
// section, reads and deletes take the first occurrence. Comments and ignored lines
// are not written back.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/encoding.h"

namespace qm {

class FileSystem;

struct IniEntry {
  std::wstring name;
  std::wstring value;
  friend bool operator==(const IniEntry&, const IniEntry&) = default;
};

class IniFile {
 public:
  IniFile() = default;

  // Reads the file whole. A missing file gives an empty object, which is saved in the
  // ANSI code page; a file that exists but cannot be read raises Error.
  static IniFile Load(FileSystem& files, Locale& locale, std::wstring path);
  static IniFile Parse(std::wstring_view text);

  // The text Save writes: each section with its entries and an empty line, CR LF ends.
  std::wstring Text() const;
  // Writes the text to the file it was loaded from. Raises Error when it cannot.
  void Save();
  TextEncoding Encoding() const { return encoding_; }
  const std::wstring& Path() const { return path_; }

  std::vector<std::wstring> Sections() const;
  bool SectionExists(std::wstring_view section) const;
  bool ValueExists(std::wstring_view section, std::wstring_view name) const;
  // Entry names (or entries) of a section in file order, repeated names included.
  std::vector<std::wstring> ReadSection(std::wstring_view section) const;
  std::vector<IniEntry> ReadSectionValues(std::wstring_view section) const;

  std::wstring ReadString(std::wstring_view section, std::wstring_view name, std::wstring_view defaultValue = {}) const;
  // A missing entry or one that is not a decimal integer gives the default.
  int ReadInteger(std::wstring_view section, std::wstring_view name, int defaultValue) const;
  // Read as an integer: anything but 0 is true.
  bool ReadBool(std::wstring_view section, std::wstring_view name, bool defaultValue) const;

  // An existing entry keeps its place; a new one goes to the end of its section, a new
  // section after the last. Line breaks in names and values become blanks, so that a
  // value cannot add lines of its own to the file.
  void WriteString(std::wstring_view section, std::wstring_view name, std::wstring_view value);
  void WriteInteger(std::wstring_view section, std::wstring_view name, int value);
  void WriteBool(std::wstring_view section, std::wstring_view name, bool value);  // "1" or "0"
  void DeleteKey(std::wstring_view section, std::wstring_view name);
  void EraseSection(std::wstring_view section);
  // Replaces the entries of an existing section, which keeps its place.
  void ReplaceSectionValues(std::wstring_view section, std::vector<IniEntry> entries);

 private:
  struct Section {
    std::wstring name;
    std::vector<IniEntry> entries;
    // The position of each name's first entry, by upper-case name, so that a file of
    // many thousand entries is read and written in linear time.
    std::unordered_map<std::wstring, size_t> firstEntries;

    void Append(IniEntry entry);
    void Reindex();
    // The position of the name's first entry.
    std::optional<size_t> PositionOf(std::wstring_view name) const;
  };

  static constexpr size_t kNoSection = static_cast<size_t>(-1);
  size_t SectionIndex(std::wstring_view name) const;
  size_t AddSection(std::wstring name);
  const IniEntry* FindEntry(std::wstring_view section, std::wstring_view name) const;

  std::vector<Section> sections_;
  std::unordered_map<std::wstring, size_t> sectionIndexes_;  // by upper-case name
  FileSystem* files_ = nullptr;
  Locale* locale_ = nullptr;
  std::wstring path_;
  TextEncoding encoding_ = TextEncoding::Ansi;
};

}  // namespace qm
