#include "update/update_install.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/locale.h"
#include "platform/process_launcher.h"
#include "platform/shell.h"
#include "platform/url.h"
#include "update/update_check.h"
#include "update/zip_archive.h"

namespace qm {

namespace {

// A stalled transfer ends instead of holding the download forever.
constexpr int kDownloadConnectTimeoutMs = 30000;
constexpr int kDownloadReadTimeoutMs = 30000;
constexpr std::wstring_view kScriptFailedMessage = L"Failed to create update script!";

std::wstring FolderOf(std::wstring_view path) {
  return std::wstring(path.substr(0, path.rfind(L'\\') + 1));
}

std::wstring FileNameOf(std::wstring_view path) {
  return std::wstring(path.substr(path.rfind(L'\\') + 1));
}

std::wstring Quoted(std::wstring_view text) { return L"\"" + std::wstring(text) + L"\""; }

std::wstring TwoDigits(int number) {
  wchar_t digits[3] = {wchar_t(L'0' + number / 10 % 10), wchar_t(L'0' + number % 10), 0};
  return digits;
}

// Bytes in the ANSI code page; refuses text the code page cannot hold, since the script
// would then name another folder or file than the program's.
std::vector<std::uint8_t> ToAnsiExactly(Locale& locale, std::wstring_view text) {
  auto bytes = locale.ToAnsi(text);
  if (locale.FromAnsi(bytes) != text) throw Error(std::wstring(kScriptFailedMessage));
  return bytes;
}

InstallResult NotDownloaded(FileSystem& files, const std::wstring& target, const UpdateTexts& texts) {
  if (!target.ends_with(L'\\') && files.PathExists(target)) files.DeleteFile(target);
  return {InstallOutcome::NotDownloaded, texts.noDownload, {}};
}

InstallResult StartSetupProgram(const InstallServices& services, const InstallOptions& options,
                                const std::wstring& setupPath, const UpdateTexts& texts) {
  const std::wstring parameters = options.quick ? SetupSwitches(options.language) : std::wstring();
  const bool started = services.launcher.Open(setupPath, parameters, WindowShow::Normal);
  const bool closeProgram = started && options.quick;
  return {closeProgram ? InstallOutcome::CloseProgram : InstallOutcome::Downloaded, texts.downloadComplete, {}};
}

}  // namespace

std::wstring FileNameFromUrl(std::wstring_view url) {
  return std::wstring(url.substr(url.rfind(L'/') + 1));
}

std::wstring DownloadTargetPath(bool portable, std::wstring_view tempFolder, std::wstring_view programPath,
                                std::wstring_view url) {
  std::wstring folder = portable ? FolderOf(programPath) : std::wstring(tempFolder);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + FileNameFromUrl(url);
}

std::wstring SetupSwitches(std::wstring_view language) {
  return L"/SILENT /CLOSEAPPLICATIONS /SUPPRESSMSGBOXES /LANG=" + std::wstring(language) +
         L" /MERGETASKS=\"runcmd1\"";
}

std::wstring PortableUpdateScript(std::wstring_view programFolder, std::wstring_view programFileName,
                                  std::wstring_view archiveName) {
  const std::wstring archive(archiveName);
  const std::wstring lines[] = {
      L"@echo off",
      L"cd /d " + Quoted(programFolder),
      L"",
      L"echo Killing app...",
      L"taskkill /F /IM " + Quoted(programFileName) + L" >nul 2>&1",
      L"timeout /t 2 >nul",
      L"",
      L"echo Extracting...",
      L"powershell -Command \"Add-Type -AssemblyName System.IO.Compression.FileSystem; "
      L"$zip = [System.IO.Compression.ZipFile]::OpenRead('" + archive + L"'); "
      L"foreach ($entry in $zip.Entries) { $target = $entry.FullName; if (-not $entry.Name) { "
      L"[System.IO.Directory]::CreateDirectory($target) | Out-Null; } else { try { "
      L"[System.IO.Compression.ZipFileExtensions]::ExtractToFile($entry, $target, $true) } catch { "
      L"Write-Host ('Skipping: ' + $entry.FullName) } } }; $zip.Dispose(); Write-Host 'Extraction complete'\"",
      L"",
      L"echo Deleting ZIP...",
      L"del " + Quoted(archive),
      L"",
      L"echo Starting app...",
      L"start \"\" " + Quoted(programFileName),
      L"",
      L"echo Done",
      L"timeout /t 2 >nul",
      L"del \"%~f0\"",
  };
  std::wstring script;
  for (const auto& line : lines) script += line + L"\r\n";
  return script;
}

std::wstring UpdateScriptName(const LocalTime& time) {
  return L"update_" + TwoDigits(time.hour) + TwoDigits(time.minute) + TwoDigits(time.second) + L".bat";
}

int ProgressPercent(std::uint64_t received, std::uint64_t total) {
  if (total == 0) return 0;
  return static_cast<int>(std::min<std::uint64_t>(100, received / total * 100 + received % total * 100 / total));
}

InstallResult DownloadAndInstall(const InstallServices& services, const InstallOptions& options,
                                 std::wstring_view url, const UpdateTexts& texts, DownloadProgress progress) {
  const std::wstring programPath = services.shell.ProgramFilePath();
  const std::wstring target = DownloadTargetPath(options.portable, services.shell.TempFolder(), programPath, url);
  if (!IsPermittedUrl(url)) return NotDownloaded(services.files, target, texts);

  HttpRequest request = UpdateRequest(std::wstring(url), options.proxy);
  request.connectTimeoutMs = kDownloadConnectTimeoutMs;
  request.readTimeoutMs = kDownloadReadTimeoutMs;
  request.progress = std::move(progress);
  HttpResponse response = services.http.Get(request);
  if (!response.ok || (options.portable && !IsSafeToUnpack(response.body)))
    return NotDownloaded(services.files, target, texts);
  try {
    services.files.WriteFile(target, response.body);
  } catch (const Error&) {
    return NotDownloaded(services.files, target, texts);
  }

  if (!options.portable) return StartSetupProgram(services, options, target, texts);
  if (!options.quick) return {InstallOutcome::Downloaded, texts.downloadComplete, {}};
  InstallResult result = SimplePortableUpdate(services, target, programPath);
  result.stateLine = texts.downloadComplete;
  return result;
}

InstallResult SimplePortableUpdate(const InstallServices& services, std::wstring_view zipInAppDir,
                                   std::wstring_view currentExePath) {
  const InstallResult failed{InstallOutcome::ScriptFailed, {}, std::wstring(kScriptFailedMessage)};
  std::wstring tempFolder = services.shell.TempFolder();
  if (!tempFolder.empty() && tempFolder.back() != L'\\') tempFolder += L'\\';
  const std::wstring scriptPath = tempFolder + UpdateScriptName(services.clock.Now());
  const std::wstring script =
      PortableUpdateScript(FolderOf(currentExePath), FileNameOf(currentExePath), FileNameOf(zipInAppDir));
  try {
    services.files.WriteFile(scriptPath, ToAnsiExactly(services.locale, script));
  } catch (const Error&) {
    return failed;
  }
  if (!services.files.PathExists(scriptPath)) return failed;
  if (!services.launcher.Open(scriptPath, {}, WindowShow::Hidden)) {
    services.files.DeleteFile(scriptPath);
    return failed;
  }
  return {InstallOutcome::EndProgramNow, {}, {}};
}

}  // namespace qm
