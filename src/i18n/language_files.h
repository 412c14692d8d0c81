#pragma once
// Where the language files and the missing-key log lie, and what the engine and the
// language menu need from the platform to read them.
#include <functional>
#include <string>
#include <string_view>

namespace qm {

class FileSystem;
class Locale;
class IniFile;

inline constexpr std::wstring_view kLanguageFolder = L"Language\\";
inline constexpr std::wstring_view kLanguageSection = L"Language";  // in the settings file
inline constexpr std::wstring_view kLanguageKey = L"Language";
inline constexpr std::wstring_view kLanguageInfoSection = L"Language information";
inline constexpr std::wstring_view kLanguageNameKey = L"LANGNAME";

struct LanguageEnvironment {
  FileSystem& files;
  Locale& locale;
  std::wstring programFolder;                // with its trailing backslash
  std::function<std::wstring()> settingsPath;  // Config\Option.ini; may create its folder
  std::function<void()> processMessages;     // lets pending window messages run; may be empty
};

// The stored language: "Language"/"Language" of the settings file, empty when unset
// and when the settings file cannot be read (the main window says that once itself).
std::wstring StoredLanguage(const LanguageEnvironment& environment);
void StoreLanguage(const LanguageEnvironment& environment, std::wstring_view language);
// <program folder>Language\<language>.ini
std::wstring LanguageFilePath(const LanguageEnvironment& environment, std::wstring_view language);
// Quillmere.log in the folder that holds the program's folder.
std::wstring MissingKeyLogPath(std::wstring_view programFolder);
void ProcessMessages(const LanguageEnvironment& environment);

}  // namespace qm
