#include "repair/backup_files.h"

#include <cmath>
#include <cstdio>

#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm {

namespace {

void AppendBackupFiles(FileSystem& files, const std::wstring& folder, std::vector<BackupFileRow>& rows) {
  for (const FileEntry& entry : files.List(folder + L"*.reg")) {
    if (entry.isDirectory) {
      if (entry.name != L"." && entry.name != L"..") AppendBackupFiles(files, folder + entry.name + L"\\", rows);
      continue;
    }
    rows.push_back({entry.name, folder + entry.name, entry.size, entry.lastWriteTime});
  }
}

}  // namespace

std::vector<BackupFileRow> ListBackupFiles(FileSystem& files, std::wstring_view folder) {
  std::vector<BackupFileRow> rows;
  AppendBackupFiles(files, std::wstring(folder), rows);
  return rows;
}

std::wstring FormatFileSize(std::int64_t size) {
  static constexpr const wchar_t* kUnits[] = {L" B", L" kB", L" MB", L" GB"};
  double amount = static_cast<double>(size);
  std::size_t unit = 0;
  while (amount >= 700 && unit < 3) {
    amount /= 1024;
    ++unit;
  }
  const double whole = unit == 0 ? amount : std::nearbyint(amount);  // the default rounding: half to even
  return std::to_wstring(static_cast<std::int64_t>(whole)) + kUnits[unit];
}

std::wstring BackupDateText(const LocalTime& time) {
  wchar_t text[32];
  std::swprintf(text, std::size(text), L"%02d.%02d.%02d %02d:%02d", time.day, time.month, time.year % 100,
                time.hour, time.minute);
  return text;
}

std::wstring RegistryEditorPath(Shell& shell) {
  std::wstring path = shell.WindowsDirectory();
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return path + L"regedit.exe";
}

std::wstring SilentImportParameters(std::wstring_view file) { return L"/s \"" + std::wstring(file) + L"\""; }

bool RestoreBackup(Shell& shell, std::wstring_view file) {
  return shell.Open(RegistryEditorPath(shell), SilentImportParameters(file));
}

}  // namespace qm
