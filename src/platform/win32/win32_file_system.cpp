#include "platform/win32/win32_file_system.h"

#include <algorithm>
#include <limits>
#include <new>

#include "platform/win32/growing_buffer.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/unique_handle.h"

// <windows.h> makes these names macros; here they are the methods of the file-system seam.
#undef DeleteFile
#undef GetDriveType

namespace qm {

namespace {

// Text with a NUL inside would be cut short by the API and name another file.
bool IsUsable(std::wstring_view path) { return !path.empty() && path.find(L'\0') == std::wstring_view::npos; }

// The text handed to the file API. Paths of MAX_PATH characters or more are made
// absolute and given the extended-length prefix, which lifts the length limit.
std::wstring ApiPath(std::wstring_view path) {
  std::wstring text(path);
  if (text.size() < MAX_PATH || text.starts_with(L"\\\\?\\") || text.starts_with(L"\\\\.\\")) return text;
  const std::wstring full = ReadIntoGrowingBuffer(
      [&](wchar_t* buffer, DWORD size) { return GetFullPathNameW(text.c_str(), size, buffer, nullptr); });
  if (full.empty()) return text;
  if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

std::uint64_t Join(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

FileEntry EntryOf(const WIN32_FIND_DATAW& data) {
  return FileEntry{data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                   Join(data.nFileSizeHigh, data.nFileSizeLow),
                   Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

UniqueFile OpenFile(std::wstring_view path, DWORD access, DWORD share, DWORD disposition) {
  return UniqueFile(CreateFileW(ApiPath(path).c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Whole files are read only up to this size; larger ones count as unreadable.
constexpr std::uint64_t kLargestWholeFile = std::numeric_limits<std::int32_t>::max();
constexpr DWORD kLargestTransfer = 1u << 30;

// A path with a NUL inside cannot be created.
void RefuseNul(std::wstring_view path) {
  if (path.find(L'\0') != std::wstring_view::npos) throw CannotCreateFileError(path, SystemErrorText(ERROR_INVALID_NAME));
}

// Writes all the bytes to the open file and flushes them to the disk; the system's
// error code when a step fails, 0 when all went well.
DWORD WriteAndFlush(HANDLE file, const std::vector<std::uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kLargestTransfer));
    if (!::WriteFile(file, bytes.data() + done, wanted, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

}  // namespace

bool Win32FileSystem::PathExists(std::wstring_view path) {
  if (!IsUsable(path)) return false;
  WIN32_FIND_DATAW data;
  return static_cast<bool>(UniqueFind(FindFirstFileW(ApiPath(path).c_str(), &data)));
}

bool Win32FileSystem::FolderExists(std::wstring_view path) {
  if (!IsUsable(path)) return false;
  const DWORD attributes = GetFileAttributesW(ApiPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DriveType Win32FileSystem::GetDriveType(std::wstring_view drivePart) {
  if (drivePart.find(L'\0') != std::wstring_view::npos) return DriveType::NoRootDir;
  return static_cast<DriveType>(GetDriveTypeW(std::wstring(drivePart).c_str()));
}

bool Win32FileSystem::IsDriveReady(wchar_t driveLetter) {
  const std::wstring probe = std::wstring(1, driveLetter) + L":\\file.dsc";
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  UniqueFile file(CreateFileW(probe.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  const DWORD error = file ? ERROR_SUCCESS : GetLastError();
  file.reset();
  SetErrorMode(previousMode);
  return error != ERROR_NOT_READY;
}

std::vector<FileEntry> Win32FileSystem::List(std::wstring_view pattern) {
  std::vector<FileEntry> entries;
  if (!IsUsable(pattern)) return entries;
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW(ApiPath(pattern).c_str(), &data));
  if (!find) return entries;
  do entries.push_back(EntryOf(data));
  while (FindNextFileW(find.get(), &data));
  return entries;
}

bool Win32FileSystem::DeleteFile(std::wstring_view path) {
  return IsUsable(path) && DeleteFileW(ApiPath(path).c_str());
}

bool Win32FileSystem::CreateFolders(std::wstring_view path) {
  if (!IsUsable(path)) return false;
  // Every folder on the way is created in turn; those that exist, the drive's root and
  // the parts of a prefix fail harmlessly.
  const std::wstring full = ApiPath(path);
  for (size_t at = full.find_first_of(L"\\/", 1); at != std::wstring::npos; at = full.find_first_of(L"\\/", at + 1))
    CreateDirectoryW(full.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(full.c_str(), nullptr);
  return FolderExists(path);
}

std::optional<std::vector<std::uint8_t>> Win32FileSystem::ReadFile(std::wstring_view path) {
  if (!IsUsable(path)) return std::nullopt;
  const UniqueFile file = OpenFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > kLargestWholeFile)
    return std::nullopt;
  std::vector<std::uint8_t> bytes;
  try {
    bytes.resize(static_cast<size_t>(size.QuadPart));
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kLargestTransfer));
    if (!::ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file became shorter meanwhile
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

void Win32FileSystem::WriteFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) {
  RefuseNul(path);
  const UniqueFile file = OpenFile(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) throw CannotCreateFileError(path, SystemErrorText(GetLastError()));
  if (const DWORD error = WriteAndFlush(file.get(), bytes)) throw CannotCreateFileError(path, SystemErrorText(error));
}

bool Win32FileSystem::WriteNewFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) {
  RefuseNul(path);
  UniqueFile file = OpenFile(path, GENERIC_WRITE, 0, CREATE_NEW);
  if (!file) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS || PathExists(path)) return false;
    throw CannotCreateFileError(path, SystemErrorText(error));
  }
  if (const DWORD error = WriteAndFlush(file.get(), bytes)) {
    file.reset();
    DeleteFileW(ApiPath(path).c_str());  // what was written of it
    throw CannotCreateFileError(path, SystemErrorText(error));
  }
  return true;
}

bool Win32FileSystem::IsFileWritable(std::wstring_view path) {
  return IsUsable(path) && OpenFile(path, GENERIC_WRITE, 0, OPEN_EXISTING);
}

}  // namespace qm
