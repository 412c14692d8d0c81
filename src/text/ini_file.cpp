#include "text/ini_file.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "platform/error.h"
#include "platform/file_system.h"
#include "text/case_mapping.h"

namespace qm {

namespace {

bool IsBlankOrControl(wchar_t c) { return static_cast<std::uint32_t>(c) <= 0x20; }

std::wstring_view Trim(std::wstring_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// Calls `handle` with each line; CR, LF and CR LF all end a line.
template <typename Handle>
void ForEachLine(std::wstring_view text, Handle handle) {
  while (!text.empty()) {
    const size_t end = std::min(text.find_first_of(L"\r\n"), text.size());
    handle(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
  }
}

std::wstring WithoutLineBreaks(std::wstring_view text) {
  std::wstring result(text);
  std::replace_if(result.begin(), result.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
  return result;
}

// A decimal integer with an optional sign that fits 32 bits.
bool ParseInteger(std::wstring_view text, int& number) {
  const bool negative = !text.empty() && text.front() == L'-';
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) text.remove_prefix(1);
  if (text.empty()) return false;
  long long magnitude = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
    magnitude = magnitude * 10 + (c - L'0');
    if (magnitude > 1LL + std::numeric_limits<int>::max()) return false;
  }
  const long long value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return false;
  number = static_cast<int>(value);
  return true;
}

}  // namespace

void IniFile::Section::Append(IniEntry entry) {
  firstEntries.emplace(UpperCaseText(entry.name), entries.size());
  entries.push_back(std::move(entry));
}

void IniFile::Section::Reindex() {
  firstEntries.clear();
  for (size_t i = 0; i < entries.size(); ++i) firstEntries.emplace(UpperCaseText(entries[i].name), i);
}

std::optional<size_t> IniFile::Section::PositionOf(std::wstring_view name) const {
  const auto found = firstEntries.find(UpperCaseText(name));
  if (found == firstEntries.end()) return std::nullopt;
  return found->second;
}

IniFile IniFile::Load(FileSystem& files, Locale& locale, std::wstring path) {
  IniFile ini;
  if (auto bytes = files.ReadFile(path)) {
    DecodedText decoded = DecodeText(*bytes, locale);
    ini = Parse(decoded.text);
    ini.encoding_ = decoded.encoding;
  } else if (files.PathExists(path)) {
    // Taking it as empty would let the next save overwrite what could not be read.
    throw Error(FormatMessageText(L"Cannot open file \"%s\".", {path}));
  }
  ini.files_ = &files;
  ini.locale_ = &locale;
  ini.path_ = std::move(path);
  return ini;
}

IniFile IniFile::Parse(std::wstring_view text) {
  IniFile ini;
  size_t current = kNoSection;
  ForEachLine(text, [&](std::wstring_view rawLine) {
    const std::wstring_view line = Trim(rawLine);
    if (line.empty() || line.front() == L';') return;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      const std::wstring_view name = Trim(line.substr(1, line.size() - 2));
      current = ini.SectionIndex(name) == kNoSection ? ini.AddSection(std::wstring(name)) : kNoSection;
      return;
    }
    if (current == kNoSection) return;
    const size_t equals = line.find(L'=');
    Section& section = ini.sections_[current];
    if (equals == std::wstring_view::npos) section.Append({std::wstring(line), {}});
    else section.Append({std::wstring(Trim(line.substr(0, equals))), std::wstring(Trim(line.substr(equals + 1)))});
  });
  return ini;
}

std::wstring IniFile::Text() const {
  std::wstring text;
  for (const auto& section : sections_) {
    text.append(L"[").append(section.name).append(L"]\r\n");
    for (const auto& entry : section.entries) text.append(entry.name).append(L"=").append(entry.value).append(L"\r\n");
    text.append(L"\r\n");
  }
  return text;
}

void IniFile::Save() {
  if (!files_ || !locale_) throw std::logic_error("this INI text was not loaded from a file");
  files_->WriteFile(path_, EncodeText(Text(), encoding_, *locale_));
}

size_t IniFile::SectionIndex(std::wstring_view name) const {
  const auto found = sectionIndexes_.find(UpperCaseText(name));
  return found == sectionIndexes_.end() ? kNoSection : found->second;
}

size_t IniFile::AddSection(std::wstring name) {
  sectionIndexes_.emplace(UpperCaseText(name), sections_.size());
  sections_.push_back({std::move(name), {}});
  return sections_.size() - 1;
}

const IniEntry* IniFile::FindEntry(std::wstring_view section, std::wstring_view name) const {
  const size_t index = SectionIndex(section);
  if (index == kNoSection) return nullptr;
  const auto position = sections_[index].PositionOf(name);
  return position ? &sections_[index].entries[*position] : nullptr;
}

std::vector<std::wstring> IniFile::Sections() const {
  std::vector<std::wstring> names;
  for (const auto& section : sections_) names.push_back(section.name);
  return names;
}

bool IniFile::SectionExists(std::wstring_view section) const { return SectionIndex(section) != kNoSection; }

bool IniFile::ValueExists(std::wstring_view section, std::wstring_view name) const {
  return FindEntry(section, name) != nullptr;
}

std::vector<std::wstring> IniFile::ReadSection(std::wstring_view section) const {
  std::vector<std::wstring> names;
  for (const auto& entry : ReadSectionValues(section)) names.push_back(entry.name);
  return names;
}

std::vector<IniEntry> IniFile::ReadSectionValues(std::wstring_view section) const {
  const size_t index = SectionIndex(section);
  return index == kNoSection ? std::vector<IniEntry>() : sections_[index].entries;
}

std::wstring IniFile::ReadString(std::wstring_view section, std::wstring_view name, std::wstring_view defaultValue) const {
  const IniEntry* entry = FindEntry(section, name);
  return entry ? entry->value : std::wstring(defaultValue);
}

int IniFile::ReadInteger(std::wstring_view section, std::wstring_view name, int defaultValue) const {
  const IniEntry* entry = FindEntry(section, name);
  int number = 0;
  return entry && ParseInteger(entry->value, number) ? number : defaultValue;
}

bool IniFile::ReadBool(std::wstring_view section, std::wstring_view name, bool defaultValue) const {
  return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void IniFile::WriteString(std::wstring_view section, std::wstring_view name, std::wstring_view value) {
  std::wstring sectionName = WithoutLineBreaks(section), entryName = WithoutLineBreaks(name);
  size_t index = SectionIndex(sectionName);
  if (index == kNoSection) index = AddSection(std::move(sectionName));
  Section& target = sections_[index];
  if (const auto position = target.PositionOf(entryName)) target.entries[*position].value = WithoutLineBreaks(value);
  else target.Append({std::move(entryName), WithoutLineBreaks(value)});
}

void IniFile::WriteInteger(std::wstring_view section, std::wstring_view name, int value) {
  WriteString(section, name, std::to_wstring(value));
}

void IniFile::WriteBool(std::wstring_view section, std::wstring_view name, bool value) {
  WriteString(section, name, value ? L"1" : L"0");
}

void IniFile::DeleteKey(std::wstring_view section, std::wstring_view name) {
  const size_t index = SectionIndex(section);
  if (index == kNoSection) return;
  Section& target = sections_[index];
  const auto position = target.PositionOf(name);
  if (!position) return;
  target.entries.erase(target.entries.begin() + static_cast<std::ptrdiff_t>(*position));
  target.Reindex();
}

void IniFile::EraseSection(std::wstring_view section) {
  const size_t index = SectionIndex(section);
  if (index == kNoSection) return;
  sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(index));
  sectionIndexes_.erase(UpperCaseText(section));
  for (auto& [name, position] : sectionIndexes_)
    if (position > index) --position;
}

void IniFile::ReplaceSectionValues(std::wstring_view section, std::vector<IniEntry> entries) {
  const size_t index = SectionIndex(section);
  if (index == kNoSection) return;
  sections_[index].entries = std::move(entries);
  sections_[index].Reindex();
}

}  // namespace qm
