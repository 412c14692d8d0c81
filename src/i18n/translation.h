#pragma once
// The translation engine: replaces the texts of one window's components with the texts
// that the chosen language file holds for them, keyed by window name, component name
// and property ("Form1.ButtonSearch.Caption"). Keys missing from the file are added to
// the missing-key log when that file exists.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "i18n/language_files.h"
#include "text/ini_file.h"

namespace qm {

class FormModel;
enum class TextProperty;

// Whether a text is looked up at all: not empty, not "-" and not a whole number.
bool QualifiesForTranslation(std::wstring_view text);

// TTranslation: the state of one window's translation. One object may serve several
// windows in turn; the entries and the log live only during one TranslateForm.
class Translation {
 public:
  explicit Translation(const LanguageEnvironment& environment) : environment_(environment) {}

  // Translates `form` with the stored language, from its texts as they are now.
  // Every error inside ends that window's translation silently.
  void TranslateForm(FormModel& form, std::wstring_view section);

  // The parts of the walk, for one component or text of the current window.
  void TranslateProperty(TextProperty property, std::wstring_view component);
  void TranslateStrings(std::vector<std::wstring>& lines, std::wstring_view prefix);
  void TranslateText(std::wstring& text, std::wstring_view key);
  std::wstring LookupTranslation(std::wstring_view key, std::wstring_view current);
  // The value of the key's first entry not used yet, which is then used; none when
  // every entry of the key is used or there is none.
  std::optional<std::wstring> TakeTranslation(std::wstring_view key);

 private:
  void TranslateWindow(std::wstring_view languagePath, std::wstring_view logPath);
  void TranslateComponent(const std::wstring& name);
  void LoadLog(std::wstring_view logPath);
  void WriteLog(std::wstring_view logPath) const;

  const LanguageEnvironment& environment_;
  FormModel* form_ = nullptr;
  // The entries of the translation section, and the positions of those not used yet
  // under each upper-case key, so that a lookup costs the same in a file of any size.
  struct UnusedEntries {
    std::vector<size_t> positions;  // in file order
    size_t next = 0;                // the first one not used yet
  };
  std::vector<IniEntry> values_;
  std::unordered_map<std::wstring, UnusedEntries> unused_;
  std::vector<std::wstring> log_;
  std::wstring section_;
};

}  // namespace qm
