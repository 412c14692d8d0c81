#pragma once
// Where the settings file and the exclusion file live: in the folder "Config" beside
// the program in portable mode, otherwise in the user's roaming application-data folder,
// under the company's folder and the application's folder.
#include <string>
#include <string_view>

namespace qm {

class FileSystem;
class Shell;

// The application title: names the per-user folder and the language files' section.
inline constexpr std::wstring_view kApplicationTitle = L"Quillmere";
inline constexpr std::wstring_view kSettingsFileName = L"Option.ini";
inline constexpr std::wstring_view kExclusionFileName = L"ExclusionReg.ini";

// The folder of the running program file, with its trailing backslash.
std::wstring ProgramFolder(Shell& shell);
// Portable mode: a file "portable.ini" stands beside the program file.
bool DetectPortableMode(FileSystem& files, Shell& shell);
// The roaming application-data folder with a trailing backslash; empty when the shell
// cannot tell it.
std::wstring GetAppDataFolder(Shell& shell);

// What places the Config folder; both are fixed for the whole run.
struct ConfigLocation {
  bool portableMode = false;
  std::wstring companyName;  // CompanyName of the program file's version information
};

// The full path of a file in the Config folder. Creates that folder and its missing
// parents on the way; whether that worked shows only when the file is written.
std::wstring ConfigFilePath(FileSystem& files, Shell& shell, const ConfigLocation& location,
                            std::wstring_view fileName);
// Config\Option.ini
std::wstring PortablePath(FileSystem& files, Shell& shell, const ConfigLocation& location);
// Config\ExclusionReg.ini
std::wstring PortablePathExclusionReg(FileSystem& files, Shell& shell, const ConfigLocation& location);

}  // namespace qm
