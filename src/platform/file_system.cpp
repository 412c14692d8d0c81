#include "platform/file_system.h"

namespace qm {

std::wstring DrivePart(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') return std::wstring(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    size_t shareStart = path.find(L'\\', 2);
    if (shareStart == std::wstring_view::npos) return std::wstring(path);
    size_t shareEnd = path.find(L'\\', shareStart + 1);
    return std::wstring(path.substr(0, shareEnd));
  }
  return {};
}

std::wstring FolderOfPath(std::wstring_view path) {
  const size_t last = path.find_last_of(L"\\:");
  return last == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, last + 1));
}

std::wstring FileExtension(std::wstring_view path) {
  const size_t last = path.find_last_of(L".\\:");
  return last == std::wstring_view::npos || path[last] != L'.' ? std::wstring() : std::wstring(path.substr(last));
}

Error CannotCreateFileError(std::wstring_view path, std::wstring_view reason) {
  return Error(FormatMessageText(L"Cannot create file \"%s\". %s", {std::wstring(path), std::wstring(reason)}));
}

}  // namespace qm
