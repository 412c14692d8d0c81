// Stands in for a program that the tests start: writes its command line (UTF-16) to
// the file named by QM_RECORD_ARGS_TO, complete or not at all.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain() {
  wchar_t target[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"QM_RECORD_ARGS_TO", target, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::wstring partial = std::wstring(target) + L".part";
  HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const wchar_t* line = GetCommandLineW();
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line, DWORD(std::wcslen(line) * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
