#include "i18n/language_menu.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "app/form_model.h"
#include "app/settings_path.h"
#include "i18n/translation.h"
#include "platform/file_system.h"
#include "text/case_mapping.h"
#include "text/ini_file.h"

namespace qm {

namespace {

// Names of the language files, "." and ".." left out, in the file system's order.
std::vector<std::wstring> LanguageFileNames(const LanguageEnvironment& environment) {
  std::vector<std::wstring> names;
  const std::wstring pattern = environment.programFolder + std::wstring(kLanguageFolder) + L"*.ini";
  for (const FileEntry& entry : environment.files.List(pattern)) {
    if (entry.name != L"." && entry.name != L"..") names.push_back(entry.name);
  }
  return names;
}

std::wstring BaseName(const std::wstring& fileName) {
  const size_t dot = fileName.rfind(L'.');
  return dot == std::wstring::npos ? fileName : fileName.substr(0, dot);
}

std::wstring DisplayName(const LanguageEnvironment& environment, const std::wstring& fileName,
                         const std::wstring& baseName) {
  try {
    const std::wstring path = environment.programFolder + std::wstring(kLanguageFolder) + fileName;
    return IniFile::Load(environment.files, environment.locale, path)
        .ReadString(kLanguageInfoSection, kLanguageNameKey, baseName);
  } catch (...) {
    return baseName;
  }
}

std::wstring_view WindowPart(std::wstring_view key) { return key.substr(0, key.find(L'.')); }

const FormModel* WindowNamed(std::span<FormModel* const> windows, std::wstring_view name) {
  for (const FormModel* window : windows) {
    if (EqualsNoCase(window->Name(), name)) return window;
  }
  return nullptr;
}

bool HasComponentNamed(const FormModel& window, std::wstring_view name) {
  return std::any_of(window.Components().begin(), window.Components().end(),
                     [&](const Component& component) { return EqualsNoCase(component.name, name); });
}

// A key names an open window and, where it goes on to a component, one of its components.
bool NamesExistingText(std::span<FormModel* const> windows, std::wstring_view key) {
  const FormModel* window = WindowNamed(windows, WindowPart(key));
  if (!window) return false;
  const std::wstring_view rest = key.substr(key.find(L'.') + 1);
  const size_t dot = rest.find(L'.');
  return dot == std::wstring_view::npos || HasComponentNamed(*window, rest.substr(0, dot));
}

// Removes the stale keys of one section; true when something was removed. Of a key
// written more than once, the last one stays.
bool CleanSection(IniFile& file, const std::wstring& section, std::span<FormModel* const> windows) {
  const std::vector<IniEntry> entries = file.ReadSectionValues(section);
  std::unordered_map<std::wstring, size_t> lastPositions;  // by upper-case key
  for (size_t position = 0; position < entries.size(); ++position)
    lastPositions[UpperCaseText(entries[position].name)] = position;
  std::vector<IniEntry> kept;
  for (size_t position = 0; position < entries.size(); ++position) {
    const std::wstring& key = entries[position].name;
    if (key.find(L'.') != std::wstring::npos && NamesExistingText(windows, key) &&
        lastPositions[UpperCaseText(key)] == position)
      kept.push_back(entries[position]);
  }
  if (kept.empty()) {
    file.EraseSection(section);
    return true;
  }
  if (kept.size() == entries.size()) return false;
  file.ReplaceSectionValues(section, std::move(kept));
  return true;
}

void CleanLanguageFile(const LanguageEnvironment& environment, const std::wstring& path,
                       std::span<FormModel* const> windows) {
  if (!environment.files.IsFileWritable(path)) return;
  std::optional<IniFile> file;
  try {
    file = IniFile::Load(environment.files, environment.locale, path);
  } catch (const Error&) {
    return;
  }
  bool changed = false;
  for (const std::wstring& section : file->Sections()) {
    if (EqualsNoCase(section, kLanguageInfoSection) || EqualsNoCase(section, L"DestDir")) continue;
    changed = CleanSection(*file, section, windows) || changed;
  }
  if (!changed || !environment.files.IsFileWritable(path)) return;
  try {
    file->Save();
  } catch (const Error&) {
    // A file that cannot be written keeps its keys until the next start.
  }
}

}  // namespace

std::wstring LanguageOfCaption(std::wstring_view caption) { return std::wstring(caption.substr(0, caption.find(L'\t'))); }

void LanguageMenu::LoadLanguage() {
  items_.clear();
  currentLanguage_ = StoredLanguage(environment_);
  std::vector<std::wstring> names = LanguageFileNames(environment_);
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return UpperCaseText(a) < UpperCaseText(b); });
  for (const std::wstring& name : names) {
    const std::wstring base = BaseName(name);
    const bool checked = EqualsNoCase(base, currentLanguage_) || base + L".ini" == currentLanguage_;
    items_.push_back({base + L"\t\t" + DisplayName(environment_, name, base), checked});
  }
}

void LanguageMenu::LanguageItemClick(std::wstring_view caption, std::span<FormModel* const> windows) {
  currentLanguage_ = LanguageOfCaption(caption);
  StoreLanguage(environment_, currentLanguage_);
  LoadLanguage();
  globload(windows);
}

void LanguageMenu::globload(std::span<FormModel* const> windows) {
  Translation translation(environment_);
  for (FormModel* window : windows) {
    const std::wstring path = LanguageFilePath(environment_, StoredLanguage(environment_));
    bool hasSection = false;
    try {
      hasSection = IniFile::Load(environment_.files, environment_.locale, path).SectionExists(kApplicationTitle);
    } catch (const Error&) {
      // An unreadable language file is listed but not applied.
    }
    if (!hasSection) continue;
    translation.TranslateForm(*window, kApplicationTitle);
    ProcessMessages(environment_);
  }
}

void CleanTranslationsLikeGlobload(const LanguageEnvironment& environment, std::span<FormModel* const> windows) {
  for (const std::wstring& name : LanguageFileNames(environment)) {
    CleanLanguageFile(environment, environment.programFolder + std::wstring(kLanguageFolder) + name, windows);
  }
}

}  // namespace qm
