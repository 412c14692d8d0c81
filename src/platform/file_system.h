#pragma once
// The file system as the program sees it (platform seam). Windows: kernel32.
// Substitute: drive letters mapped onto host folders, case-insensitively.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error.h"

// <windows.h> defines these two names as macros. Windows code that includes it first
// gets the seam's own names here; code that includes it later undefines them itself.
#undef DeleteFile
#undef GetDriveType

namespace qm {

// GetDriveType values.
enum class DriveType : std::uint32_t {
  Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6
};

struct FileEntry {
  std::wstring name;               // file name only, as the find-next call gives it
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::uint64_t lastWriteTime = 0;  // FILETIME ticks, UTC
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // True when a find-first search for the text succeeds: files, folders and
  // wildcard patterns match; a trailing backslash and an empty text do not.
  virtual bool PathExists(std::wstring_view path) = 0;
  // Attributes readable and marking a directory (a link to a folder counts).
  virtual bool FolderExists(std::wstring_view path) = 0;
  // The drive type of a drive part ("C:" or "\\server\share"), no trailing backslash.
  virtual DriveType GetDriveType(std::wstring_view drivePart) = 0;
  // False only when the drive has no medium (ERROR_NOT_READY).
  virtual bool IsDriveReady(wchar_t driveLetter) = 0;
  // Find-first/next over a pattern such as "C:\backup\*"; "." and ".." included as found.
  virtual std::vector<FileEntry> List(std::wstring_view pattern) = 0;
  virtual bool DeleteFile(std::wstring_view path) = 0;
  // Creates the folder and every missing parent; true when it exists afterwards.
  virtual bool CreateFolders(std::wstring_view path) = 0;
  // The whole file; none when it is missing or cannot be read (Windows reads files of
  // up to 2 GiB - 1 bytes).
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(std::wstring_view path) = 0;
  // Writes the whole file and flushes it to the disk. Raises Error
  // "Cannot create file \"<path>\". <reason>" when any step fails.
  virtual void WriteFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) = 0;
  // Writes a new file whole and flushes it to the disk, never replacing anything: false,
  // with nothing written, when a file or folder of that name exists. Raises Error
  // "Cannot create file \"<path>\". <reason>" when any other step fails, and then leaves
  // no file behind.
  virtual bool WriteNewFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) = 0;
  // True when the existing file opens for writing with no sharing allowed (it is closed
  // again at once); false when that fails for any reason, a missing file included.
  virtual bool IsFileWritable(std::wstring_view path) = 0;
};

// The drive part of a path: "C:" for "C:\x"; for "\\server\share\x" the text up to the
// backslash after the share name; otherwise empty.
std::wstring DrivePart(std::wstring_view path);

// The folder of a path with its trailing backslash: everything up to and including the
// last backslash or drive colon (C:\a\ for C:\a\b.ini); empty for a bare name.
std::wstring FolderOfPath(std::wstring_view path);

// The extension of a path's last name with its dot (".sys" for C:\x\a.sys): from
// the last dot that follows every backslash and drive colon; empty when there is none.
std::wstring FileExtension(std::wstring_view path);

// The error WriteFile raises: Cannot create file "<path>". <reason>
Error CannotCreateFileError(std::wstring_view path, std::wstring_view reason);

}  // namespace qm
