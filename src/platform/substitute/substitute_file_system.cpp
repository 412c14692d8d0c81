#include "platform/substitute/substitute_file_system.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <stdexcept>

#include "text/case_mapping.h"
#include "text/encoding.h"

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr std::wstring_view kPathNotFound = L"The system cannot find the path specified.";
constexpr std::wstring_view kAccessDenied = L"Access is denied.";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool EndsWithSeparator(std::wstring_view path) { return !path.empty() && IsSeparator(path.back()); }
bool HasWildcard(std::wstring_view name) { return name.find_first_of(L"*?") != std::wstring_view::npos; }
wchar_t DriveLetter(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - 32) : c; }

fs::path HostName(std::wstring_view name) {
  const std::string utf8 = ToUtf8(name);
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring WindowsName(const fs::path& path) {
  const std::u8string utf8 = path.filename().u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}


// '*' stands for any run of characters, '?' for one; letters compare without regard to case.
bool WildcardMatch(std::wstring_view pattern, std::wstring_view name) {
  size_t p = 0, n = 0, starAt = std::wstring_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == L'*') {
      starAt = p++;
      starName = n;
    } else if (p < pattern.size() && (pattern[p] == L'?' || UpperCaseOf(pattern[p]) == UpperCaseOf(name[n]))) {
      ++p;
      ++n;
    } else if (starAt != std::wstring_view::npos) {
      p = starAt + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

// As on Windows, a pattern ending in ".*" also matches names without an extension.
bool MatchesPattern(std::wstring_view pattern, std::wstring_view name) {
  if (WildcardMatch(pattern, name)) return true;
  return pattern.ends_with(L".*") && name.find(L'.') == std::wstring_view::npos &&
         WildcardMatch(pattern.substr(0, pattern.size() - 2), name);
}

std::uint64_t FileTimeTicks(fs::file_time_type time) {
  using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
  constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
  const auto sinceUnixEpoch = std::chrono::duration_cast<Ticks>(std::chrono::file_clock::to_sys(time).time_since_epoch());
  return static_cast<std::uint64_t>(sinceUnixEpoch.count() + kTicksFrom1601To1970);
}

FileEntry MakeEntry(std::wstring name, const fs::path& host) {
  FileEntry entry{std::move(name)};
  std::error_code error;
  entry.isDirectory = fs::is_directory(host, error);
  if (!entry.isDirectory) {
    const auto size = fs::file_size(host, error);
    if (!error) entry.size = size;
  }
  const auto time = fs::last_write_time(host, error);
  if (!error) entry.lastWriteTime = FileTimeTicks(time);
  return entry;
}

// The entries of a folder that match a wildcard pattern, "." and ".." first (a drive's
// root has neither), then the others sorted by name as NTFS lists them.
std::vector<FileEntry> MatchingEntries(const fs::path& folder, bool isRoot, std::wstring_view pattern) {
  std::vector<FileEntry> entries;
  if (!isRoot)
    for (const wchar_t* dots : {L".", L".."})
      if (MatchesPattern(pattern, dots)) entries.push_back(MakeEntry(dots, folder));
  std::vector<FileEntry> children;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::wstring name = WindowsName(it->path());
    if (MatchesPattern(pattern, name)) children.push_back(MakeEntry(std::move(name), it->path()));
  }
  std::sort(children.begin(), children.end(),
            [](const FileEntry& a, const FileEntry& b) { return UpperCaseText(a.name) < UpperCaseText(b.name); });
  entries.insert(entries.end(), children.begin(), children.end());
  return entries;
}

}  // namespace

namespace {

// The entries of a host folder by upper-case name; the first of names that differ
// only in case.
std::unordered_map<std::wstring, fs::path> ReadNames(const fs::path& folder) {
  std::unordered_map<std::wstring, fs::path> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    names.emplace(UpperCaseText(WindowsName(it->path())), it->path());
  return names;
}

std::optional<fs::path> FindName(const std::unordered_map<std::wstring, fs::path>& names, std::wstring_view name) {
  auto found = names.find(UpperCaseText(name));
  return found == names.end() ? std::nullopt : std::optional(found->second);
}

}  // namespace

std::optional<fs::path> SubstituteFileSystem::FolderNames::Find(const fs::path& folder, std::wstring_view name) {
  std::error_code error;
  const auto time = fs::last_write_time(folder, error);
  if (error) return std::nullopt;
  // A change within the clock tick of the last one may leave the time as it was, so
  // only a folder left alone for a while is kept.
  if (time > fs::file_time_type::clock::now() - std::chrono::seconds(1)) {
    listings_.erase(folder);
    fs::path exact = folder / HostName(name);
    if (fs::symlink_status(exact, error).type() != fs::file_type::not_found && !error) return exact;
    return FindName(ReadNames(folder), name);
  }
  auto listing = listings_.find(folder);
  if (listing == listings_.end() || listing->second.time != time)
    listing = listings_.insert_or_assign(folder, Listing{time, ReadNames(folder)}).first;
  return FindName(listing->second.byUpperCaseName, name);
}

std::optional<fs::path> SubstituteFileSystem::FindChild(const fs::path& folder, std::wstring_view name) const {
  return folderNames_.Find(folder, name);
}

void SubstituteFileSystem::MapDrive(wchar_t letter, fs::path hostRoot, DriveType type) {
  drives_[DriveLetter(letter)] = Drive{std::move(hostRoot), type, true};
}

void SubstituteFileSystem::AddEmptyDrive(wchar_t letter, DriveType type) {
  drives_[DriveLetter(letter)] = Drive{{}, type, false};
}

void SubstituteFileSystem::SetCurrentDirectory(std::wstring_view folder) {
  auto absolute = MakeAbsolute(folder);
  if (!absolute) throw std::invalid_argument("not a usable current directory");
  currentDirectory_ = std::move(*absolute);
}

std::optional<SubstituteFileSystem::AbsolutePath> SubstituteFileSystem::MakeAbsolute(std::wstring_view path) const {
  if (path.empty() || path.find(L'\0') != std::wstring_view::npos) return std::nullopt;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return std::nullopt;  // network or device
  AbsolutePath result = currentDirectory_;
  if (path.size() >= 2 && path[1] == L':') {
    const wchar_t letter = DriveLetter(path[0]);
    if (letter < L'A' || letter > L'Z') return std::nullopt;
    if (letter != result.drive) result = AbsolutePath{letter, {}};
    path.remove_prefix(2);
  }
  if (!path.empty() && IsSeparator(path[0])) result.names.clear();
  while (!path.empty()) {
    const size_t end = std::min(path.find_first_of(L"\\/"), path.size());
    const std::wstring_view name = path.substr(0, end);
    path.remove_prefix(std::min(end + 1, path.size()));
    if (name.empty() || name == L".") continue;
    if (name == L"..") {
      if (!result.names.empty()) result.names.pop_back();
      continue;
    }
    result.names.emplace_back(name);
  }
  return result;
}

std::optional<fs::path> SubstituteFileSystem::DriveRoot(wchar_t letter) const {
  const auto drive = drives_.find(letter);
  if (drive == drives_.end() || !drive->second.hasMedium) return std::nullopt;
  return drive->second.root;
}

std::optional<fs::path> SubstituteFileSystem::Locate(const AbsolutePath& path, size_t count) const {
  auto host = DriveRoot(path.drive);
  for (size_t i = 0; host && i < count; ++i)
    host = HasWildcard(path.names[i]) ? std::nullopt : FindChild(*host, path.names[i]);
  return host;
}

std::optional<SubstituteFileSystem::ParentOfPath> SubstituteFileSystem::Parent(std::wstring_view path) const {
  auto absolute = MakeAbsolute(path);
  if (!absolute || absolute->names.empty()) return std::nullopt;
  auto folder = Locate(*absolute, absolute->names.size() - 1);
  std::error_code error;
  if (!folder || !fs::is_directory(*folder, error)) return std::nullopt;
  return ParentOfPath{std::move(*folder), std::move(absolute->names.back()), absolute->names.size() == 1};
}

std::optional<fs::path> SubstituteFileSystem::HostPath(std::wstring_view path) {
  auto absolute = MakeAbsolute(path);
  return absolute ? Locate(*absolute, absolute->names.size()) : std::nullopt;
}

bool SubstituteFileSystem::PathExists(std::wstring_view path) { return !List(path).empty(); }

bool SubstituteFileSystem::FolderExists(std::wstring_view path) {
  const auto host = HostPath(path);
  std::error_code error;
  return host && fs::is_directory(*host, error);
}

DriveType SubstituteFileSystem::GetDriveType(std::wstring_view drivePart) {
  if (drivePart.size() >= 2 && IsSeparator(drivePart[0]) && IsSeparator(drivePart[1])) return DriveType::Remote;
  if (EndsWithSeparator(drivePart)) drivePart.remove_suffix(1);
  if (drivePart.size() != 2 || drivePart[1] != L':') return DriveType::NoRootDir;
  const auto drive = drives_.find(DriveLetter(drivePart[0]));
  return drive == drives_.end() ? DriveType::NoRootDir : drive->second.type;
}

bool SubstituteFileSystem::IsDriveReady(wchar_t driveLetter) {
  const auto drive = drives_.find(DriveLetter(driveLetter));
  return drive == drives_.end() || drive->second.hasMedium;
}

std::vector<FileEntry> SubstituteFileSystem::List(std::wstring_view pattern) {
  if (EndsWithSeparator(pattern)) return {};
  const auto parent = Parent(pattern);
  if (!parent) return {};
  if (HasWildcard(parent->name)) return MatchingEntries(parent->folder, parent->isDriveRoot, parent->name);
  const auto child = FindChild(parent->folder, parent->name);
  if (!child) return {};
  return {MakeEntry(WindowsName(*child), *child)};
}

bool SubstituteFileSystem::DeleteFile(std::wstring_view path) {
  if (EndsWithSeparator(path)) return false;
  const auto host = HostPath(path);
  std::error_code error;
  if (!host || fs::is_directory(*host, error)) return false;
  return fs::remove(*host, error) && !error;
}

bool SubstituteFileSystem::CreateFolders(std::wstring_view path) {
  const auto absolute = MakeAbsolute(path);
  if (!absolute) return false;
  auto host = DriveRoot(absolute->drive);
  std::error_code error;
  for (const auto& name : absolute->names) {
    if (!host || name.find_first_of(L"*?:<>|\"") != std::wstring::npos) return false;
    const auto child = FindChild(*host, name);
    const fs::path next = child ? *child : *host / HostName(name);
    if (!child) fs::create_directory(next, error);
    if (!fs::is_directory(next, error)) return false;
    host = next;
  }
  return host.has_value();
}

std::optional<std::vector<std::uint8_t>> SubstituteFileSystem::ReadFile(std::wstring_view path) {
  if (EndsWithSeparator(path)) return std::nullopt;
  const auto host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) return std::nullopt;
  const auto size = fs::file_size(*host, error);
  std::ifstream in(*host, std::ios::binary);
  if (error || !in) return std::nullopt;
  std::vector<std::uint8_t> bytes(size);
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) return std::nullopt;
  return bytes;
}

void SubstituteFileSystem::WriteFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) {
  const auto parent = EndsWithSeparator(path) ? std::nullopt : Parent(path);
  if (!parent || HasWildcard(parent->name)) throw CannotCreateFileError(path, kPathNotFound);
  const auto existing = FindChild(parent->folder, parent->name);
  const fs::path target = existing ? *existing : parent->folder / HostName(parent->name);
  std::error_code error;
  if (fs::is_directory(target, error)) throw CannotCreateFileError(path, kAccessDenied);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  if (!out) throw CannotCreateFileError(path, kAccessDenied);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) throw CannotCreateFileError(path, L"There is not enough space on the disk.");
}

bool SubstituteFileSystem::WriteNewFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) {
  const auto parent = EndsWithSeparator(path) ? std::nullopt : Parent(path);
  if (parent && !HasWildcard(parent->name) && FindChild(parent->folder, parent->name)) return false;
  try {
    WriteFile(path, bytes);
  } catch (const Error&) {
    DeleteFile(path);  // what was written of it
    throw;
  }
  return true;
}

bool SubstituteFileSystem::IsFileWritable(std::wstring_view path) {
  if (EndsWithSeparator(path)) return false;
  const auto host = HostPath(path);
  std::error_code error;
  if (!host || !fs::is_regular_file(*host, error)) return false;
  const auto permissions = fs::status(*host, error).permissions();
  if (error || (permissions & fs::perms::owner_write) == fs::perms::none) return false;
  return std::fstream(*host, std::ios::binary | std::ios::in | std::ios::out).is_open();
}

}  // namespace qm
