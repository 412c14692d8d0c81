#include "i18n/translation.h"

#include <algorithm>
#include <array>
#include <limits>

#include "app/form_model.h"
#include "app/settings_path.h"
#include "platform/file_system.h"
#include "text/case_mapping.h"
#include "text/encoding.h"

namespace qm {

namespace {

constexpr std::wstring_view kMainWindow = L"Form1";
constexpr std::wstring_view kUpdateWindow = L"Form10";

constexpr std::array kTranslatedProperties{TextProperty::Caption, TextProperty::Hint, TextProperty::Title,
                                           TextProperty::Text, TextProperty::TextHint};

bool IsWholeNumber(std::wstring_view text) {
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) text.remove_prefix(1);
  if (text.empty() || text.size() > 10) return false;
  if (!std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch >= L'0' && ch <= L'9'; })) return false;
  long long value = 0;
  for (wchar_t ch : text) value = value * 10 + (ch - L'0');
  return value <= std::numeric_limits<int>::max() + 1LL;
}

// Texts that the program fills at run time, and the kinds whose texts are data.
bool IsNeverTranslated(std::wstring_view window, const Component& component) {
  if (component.kind == ComponentKind::StatusBar) return true;
  if (window == L"Form8") return component.name == L"LabelCopyright";
  if (window == kUpdateWindow) return component.name == L"LabelLocalVersion" || component.name == L"LabelServerVersion";
  return false;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
  std::vector<std::wstring> lines;
  while (!text.empty()) {
    const size_t end = text.find_first_of(L"\r\n");
    lines.emplace_back(text.substr(0, end));
    if (end == std::wstring_view::npos) break;
    const size_t next = end + (text.substr(end).starts_with(L"\r\n") ? 2 : 1);
    text.remove_prefix(next);
  }
  return lines;
}

}  // namespace

bool QualifiesForTranslation(std::wstring_view text) {
  return !text.empty() && text != L"-" && !IsWholeNumber(text);
}

void Translation::TranslateForm(FormModel& form, std::wstring_view section) {
  section_ = section;
  form_ = &form;
  try {
    const std::wstring languagePath = LanguageFilePath(environment_, StoredLanguage(environment_));
    const std::wstring logPath = MissingKeyLogPath(environment_.programFolder);
    if (environment_.files.PathExists(languagePath)) TranslateWindow(languagePath, logPath);
  } catch (...) {
    // A file that cannot be read ends this window's translation; what changed stays.
  }
  values_.clear();
  unused_.clear();
  log_.clear();
  form_ = nullptr;
}

void Translation::TranslateWindow(std::wstring_view languagePath, std::wstring_view logPath) {
  const IniFile language = IniFile::Load(environment_.files, environment_.locale, std::wstring(languagePath));
  values_ = language.ReadSectionValues(section_);
  for (size_t position = 0; position < values_.size(); ++position)
    unused_[UpperCaseText(values_[position].name)].positions.push_back(position);
  const bool logging = environment_.files.PathExists(logPath);
  if (logging) LoadLog(logPath);

  const std::wstring& window = form_->Name();
  // The main window's caption carries the version and keeps it.
  if (window != kMainWindow) {
    std::wstring caption = LookupTranslation(window + L".Caption", form_->Caption());
    if (window == kUpdateWindow) caption += L" " + std::wstring(kApplicationTitle);
    form_->SetCaption(std::move(caption));
  }
  for (const Component& component : form_->Components()) {
    if (!IsNeverTranslated(window, component)) TranslateComponent(component.name);
  }
  values_.clear();
  unused_.clear();
  if (logging && !log_.empty()) WriteLog(logPath);
}

void Translation::TranslateComponent(const std::wstring& name) {
  for (TextProperty property : kTranslatedProperties) TranslateProperty(property, name);
  ProcessMessages(environment_);
  const Component& component = form_->Get(name);
  const std::wstring prefix = form_->Name() + L"." + name;
  for (size_t index = 0; index < component.columns.size(); ++index) {
    std::wstring caption = component.columns[index].caption;
    TranslateText(caption, prefix + L".Columns[" + std::to_wstring(index) + L"].Caption");
    form_->SetColumnCaption(name, index, std::move(caption));
    ProcessMessages(environment_);
  }
  if (component.kind == ComponentKind::TabControl && !component.tabs.empty()) {
    std::vector<std::wstring> tabs = component.tabs;
    TranslateStrings(tabs, prefix + L".Tabs ");
    for (size_t index = 0; index < tabs.size(); ++index) form_->SetTab(name, index, std::move(tabs[index]));
  }
  if (component.kind == ComponentKind::HeaderControl) {
    for (size_t index = 0; index < component.sections.size(); ++index) {
      std::wstring text = component.sections[index];
      TranslateText(text, prefix + L".Text");
      form_->SetSection(name, index, std::move(text));
      ProcessMessages(environment_);
    }
  }
}

void Translation::TranslateProperty(TextProperty property, std::wstring_view component) {
  const std::optional<std::wstring> value = form_->Property(component, property);
  if (!value) return;
  ProcessMessages(environment_);
  if (!QualifiesForTranslation(*value)) return;
  const std::wstring key =
      form_->Name() + L"." + std::wstring(component) + L"." + TextPropertyName(property);
  std::wstring translated = LookupTranslation(key, *value);
  ProcessMessages(environment_);
  if (!translated.empty()) form_->SetProperty(component, property, std::move(translated));
}

void Translation::TranslateStrings(std::vector<std::wstring>& lines, std::wstring_view prefix) {
  for (size_t index = 0; index < lines.size(); ++index) {
    TranslateText(lines[index], std::wstring(prefix) + L"[" + std::to_wstring(index) + L"]");
    ProcessMessages(environment_);
  }
}

void Translation::TranslateText(std::wstring& text, std::wstring_view key) {
  if (QualifiesForTranslation(text)) {
    std::wstring translated = LookupTranslation(key, text);
    ProcessMessages(environment_);
    if (!translated.empty()) text = std::move(translated);
  }
  ProcessMessages(environment_);
}

std::wstring Translation::LookupTranslation(std::wstring_view key, std::wstring_view current) {
  std::optional<std::wstring> translated = TakeTranslation(key);
  ProcessMessages(environment_);
  if (!translated) {
    log_.push_back(std::wstring(key) + L"=" + std::wstring(current));
    return std::wstring(current);
  }
  return std::move(*translated);
}

// Each entry serves one lookup: a key written twice serves two.
std::optional<std::wstring> Translation::TakeTranslation(std::wstring_view key) {
  const auto found = unused_.find(UpperCaseText(key));
  if (found == unused_.end() || found->second.next == found->second.positions.size()) return std::nullopt;
  return std::move(values_[found->second.positions[found->second.next++]].value);
}

void Translation::LoadLog(std::wstring_view logPath) {
  const auto bytes = environment_.files.ReadFile(logPath);
  if (!bytes) return;
  log_ = SplitLines(DecodeText(*bytes, environment_.locale).text);
}

void Translation::WriteLog(std::wstring_view logPath) const {
  std::wstring text;
  for (const std::wstring& line : log_) text += line + L"\r\n";
  environment_.files.WriteFile(logPath, EncodeText(text, TextEncoding::Utf16LeBom, environment_.locale));
}

}  // namespace qm
