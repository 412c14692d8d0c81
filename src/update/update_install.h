#pragma once
// Downloading the update and installing it: an installed copy runs the setup program,
// a portable copy unpacks the archive over its own folder through a replacement script.
// Nothing here touches a window: the update window calls DownloadAndInstall (on any
// thread) and acts on its result.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "update/system_proxy.h"
#include "update/update_texts.h"

namespace qm {

class Clock;
class FileSystem;
class HttpClient;
class Locale;
class ProcessLauncher;
class Shell;
struct LocalTime;

// The text after the last "/" of an address, or the whole text.
std::wstring FileNameFromUrl(std::wstring_view url);

// Where the download is saved: the temporary folder, or the program's folder when portable.
std::wstring DownloadTargetPath(bool portable, std::wstring_view tempFolder, std::wstring_view programPath,
                                std::wstring_view url);

// The setup program's parameters in quick mode; the language may be empty.
std::wstring SetupSwitches(std::wstring_view language);

// The replacement script's nineteen lines, each ending in CR LF. `programFolder` ends in
// a backslash; the names are file names without folder.
std::wstring PortableUpdateScript(std::wstring_view programFolder, std::wstring_view programFileName,
                                  std::wstring_view archiveName);
// "update_" + hhnnss + ".bat".
std::wstring UpdateScriptName(const LocalTime& time);

// The progress bar's position, 0 to 100; 0 while the length is unknown.
int ProgressPercent(std::uint64_t received, std::uint64_t total);

struct InstallServices {
  HttpClient& http;
  FileSystem& files;
  Shell& shell;  // temporary folder and the program's own path
  ProcessLauncher& launcher;
  Locale& locale;
  Clock& clock;
};

struct InstallOptions {
  bool portable = false;
  bool quick = true;      // "Быстрое": install without questions
  std::wstring language;  // the interface language handed to the setup program
  SystemProxy proxy;
};

enum class InstallOutcome {
  NotDownloaded,  // failed, cancelled or refused; nothing was run
  Downloaded,     // saved (and the setup program opened when not quick); the program runs on
  CloseProgram,   // the setup program runs in quick mode: ask the program to close
  EndProgramNow,  // the replacement script runs: end at once, without the closing steps
  ScriptFailed,   // the replacement script could not be written or started
};

struct InstallResult {
  InstallOutcome outcome = InstallOutcome::NotDownloaded;
  std::wstring stateLine;  // for LabelUpDate
  std::wstring message;    // for a message box, when not empty
};

using DownloadProgress = std::function<bool(std::uint64_t received, std::uint64_t total)>;

// Downloads `url` to DownloadTargetPath and installs it as the options say. `progress`
// is called as the file arrives; returning false cancels. A download that fails or is
// cancelled, and a portable archive with an entry that would land outside the program's
// folder, leave no file of that name behind.
InstallResult DownloadAndInstall(const InstallServices& services, const InstallOptions& options,
                                 std::wstring_view url, const UpdateTexts& texts, DownloadProgress progress);

// Writes the replacement script into the temporary folder and starts it hidden.
// EndProgramNow when it runs, ScriptFailed (with its message) otherwise.
InstallResult SimplePortableUpdate(const InstallServices& services, std::wstring_view zipInAppDir,
                                   std::wstring_view currentExePath);

}  // namespace qm
