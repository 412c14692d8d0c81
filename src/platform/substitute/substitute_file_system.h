#pragma once
// Drive letters mapped onto host folders. Names are looked up without regard to case,
// paths with "\" or "/" separators, "." and ".." resolved as the Windows path rules do.
// Network paths exist nowhere and are of the remote type.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace qm {

class SubstituteFileSystem : public FileSystem {
 public:
  // The drive `letter` shows the host folder `hostRoot`.
  void MapDrive(wchar_t letter, std::filesystem::path hostRoot, DriveType type = DriveType::Fixed);
  // A drive without a medium: nothing exists on it and IsDriveReady answers false.
  void AddEmptyDrive(wchar_t letter, DriveType type = DriveType::CdRom);
  // Relative paths are taken against this absolute folder; C:\ unless set.
  void SetCurrentDirectory(std::wstring_view folder);
  // The host file or folder that a path names, when it exists.
  std::optional<std::filesystem::path> HostPath(std::wstring_view path);

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
  // A host file without the owner's write permission stands for a read-only file.
  bool IsFileWritable(std::wstring_view path) override;

 private:
  struct Drive {
    std::filesystem::path root;
    DriveType type = DriveType::Fixed;
    bool hasMedium = true;
  };
  // A path made absolute: its drive letter and its names below the drive's root.
  struct AbsolutePath {
    wchar_t drive = 0;
    std::vector<std::wstring> names;
  };

  // The host folder that holds the last name of a path, and that name.
  struct ParentOfPath {
    std::filesystem::path folder;
    std::wstring name;
    bool isDriveRoot = false;
  };

  std::optional<AbsolutePath> MakeAbsolute(std::wstring_view path) const;
  // The host folder of a drive's root; none for an unknown drive or one without a medium.
  std::optional<std::filesystem::path> DriveRoot(wchar_t letter) const;
  // The host entry of the drive's root followed by the first `count` names.
  std::optional<std::filesystem::path> Locate(const AbsolutePath& path, size_t count) const;
  std::optional<ParentOfPath> Parent(std::wstring_view path) const;
  // The entry of `folder` whose name equals `name` without regard to case.
  std::optional<std::filesystem::path> FindChild(const std::filesystem::path& folder, std::wstring_view name) const;

  // The names of host folders by upper-case name, read again whenever a folder's
  // modification time changes, so that a case-insensitive lookup need not read the
  // whole folder each time. In a folder changed less than a second ago the exact
  // spelling is tried first, then the folder read afresh.
  class FolderNames {
   public:
    std::optional<std::filesystem::path> Find(const std::filesystem::path& folder, std::wstring_view name);

   private:
    struct Listing {
      std::filesystem::file_time_type time;
      std::unordered_map<std::wstring, std::filesystem::path> byUpperCaseName;
    };
    std::map<std::filesystem::path, Listing> listings_;
  };

  std::map<wchar_t, Drive> drives_;
  AbsolutePath currentDirectory_{L'C', {}};
  mutable FolderNames folderNames_;
};

}  // namespace qm
