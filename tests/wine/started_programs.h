#pragma once
// Helpers for tests that start other programs and look at what they leave behind.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/unique_handle.h"

namespace qm::testing {

inline std::wstring BesideThisProgram(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1) + name;
}

inline std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

inline std::string ReadWholeFile(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

// The file's bytes once it appears with some content, waiting at most ten seconds.
inline std::optional<std::string> WaitForFile(const std::wstring& path) {
  for (int i = 0; i < 200; ++i) {
    std::string content = ReadWholeFile(path);
    if (!content.empty()) return content;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return std::nullopt;
}

// The command line that record_args.exe wrote (UTF-16) to `path`, once it is there.
inline std::optional<std::wstring> WaitForRecordedCommandLine(const std::wstring& path) {
  auto bytes = WaitForFile(path);
  if (!bytes) return std::nullopt;
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
}

struct StartedProgram {
  UniqueKernelHandle process;
  DWORD id = 0;
};

// Starts a program with no arguments; an empty process handle when it cannot start.
inline StartedProgram StartProgram(const std::wstring& program) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  std::wstring commandLine = L"\"" + program + L"\"";
  StartedProgram started;
  if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                     &info)) {
    CloseHandle(info.hThread);
    started.process.reset(info.hProcess);
    started.id = info.dwProcessId;
  }
  return started;
}

struct VisibleWindowSearch {
  DWORD processId;
  HWND found = nullptr;
};

// Stops at the first visible top-level window of the searched process.
inline BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<VisibleWindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// The first visible top-level window of a process, or nullptr.
inline HWND VisibleWindowOf(DWORD processId) {
  VisibleWindowSearch search{processId};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The process's first visible window, waiting at most thirty seconds.
inline HWND WaitForVisibleWindow(DWORD processId) {
  HWND window = nullptr;
  for (int i = 0; i < 300 && !window; ++i) {
    Sleep(100);
    window = VisibleWindowOf(processId);
  }
  return window;
}

}  // namespace qm::testing
