#pragma once
// The file system through kernel32. Paths of MAX_PATH characters or more are made
// absolute and passed with the extended-length prefix, so they work like short ones.
#include "platform/file_system.h"

namespace qm {

class Win32FileSystem : public FileSystem {
 public:
  bool PathExists(std::wstring_view path) override;
  bool FolderExists(std::wstring_view path) override;
  DriveType GetDriveType(std::wstring_view drivePart) override;
  bool IsDriveReady(wchar_t driveLetter) override;
  std::vector<FileEntry> List(std::wstring_view pattern) override;
  bool DeleteFile(std::wstring_view path) override;
  bool CreateFolders(std::wstring_view path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(std::wstring_view path) override;
  void WriteFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) override;
  bool WriteNewFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) override;
  bool IsFileWritable(std::wstring_view path) override;
};

}  // namespace qm
