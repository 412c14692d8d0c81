#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/growing_buffer.h"

namespace qm {

std::wstring Win32Shell::SpecialFolderPath(int folderNumber) {
  wchar_t path[MAX_PATH + 1] = {};
  if (SHGetFolderPathW(nullptr, folderNumber, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return {};
  return path;
}

std::wstring Win32Shell::WindowsDirectory() {
  return ReadIntoGrowingBuffer([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
}

std::wstring Win32Shell::TempFolder() {
  return ReadIntoGrowingBuffer([](wchar_t* buffer, DWORD size) { return GetTempPathW(size, buffer); });
}

std::wstring Win32Shell::ProgramFilePath() {
  return ReadIntoGrowingBuffer([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

bool Win32Shell::Open(std::wstring_view target, std::wstring_view parameters) {
  const std::wstring file(target), arguments(parameters);
  const HINSTANCE result = ShellExecuteW(nullptr, L"open", file.c_str(), arguments.empty() ? nullptr : arguments.c_str(),
                                         nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace qm
