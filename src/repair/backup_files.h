#pragma once
// What the backups page shows: the backup files under the backup folder, their size
// and date texts, and how a backup goes back into the registry.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace qm {

class FileSystem;
class Shell;

struct BackupFileRow {
  std::wstring name;      // file name without folder
  std::wstring fullPath;  // folder and name
  std::uint64_t size = 0;
  std::uint64_t lastWriteTime = 0;  // FILETIME ticks, UTC
};

// The files matching "*.reg" in `folder` (a path ending in a backslash), in the order
// the file system gives them; a folder whose name matches is walked the same way and
// its files follow where the folder was found. "." and ".." are passed over.
std::vector<BackupFileRow> ListBackupFiles(FileSystem& files, std::wstring_view folder);

// The size as the page shows it: bytes, then kB, MB and GB while the number is 700 or
// more, rounded to whole units (a half to the even neighbour): 700 bytes give "1 kB".
std::wstring FormatFileSize(std::int64_t size);

// dd.mm.yy hh:mm
std::wstring BackupDateText(const LocalTime& time);

// The registry editor of the Windows folder. Started by its bare name from a 32-bit
// process on 64-bit Windows, the search could find the 32-bit editor first, which
// imports keys of HKLM\SOFTWARE into the 32-bit branch.
std::wstring RegistryEditorPath(Shell& shell);
// The parameters that import a file silently: /s "<file>"
std::wstring SilentImportParameters(std::wstring_view file);
// Hands the file to the registry editor without waiting for it; true when it started.
bool RestoreBackup(Shell& shell, std::wstring_view file);

}  // namespace qm
