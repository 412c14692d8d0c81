#pragma once
// PathExists cases that hold on the real file system of Windows (or Wine) and on the
// substitute with the same small tree: C:\Windows holding notepad.exe, win.ini and
// system32\kernel32.dll. The relative cases are taken with C:\Windows as the current
// directory.
#include <string>
#include <vector>

namespace qm::testing {

struct PathExistsCase {
  std::wstring path;
  bool exists;
};

inline std::vector<PathExistsCase> AbsolutePathExistsCases() {
  return {
      {L"C:\\Windows", true},
      {L"c:\\wINDOWS\\NotePad.EXE", true},
      {L"C:\\Windows\\*.exe", true},
      {L"C:\\Windows\\w?n.ini", true},
      {L"C:\\Windows\\*", true},
      {L"C:/Windows/system32/kernel32.dll", true},
      {L"C:\\Windows\\system32\\..\\.\\notepad.exe", true},
      {L"\\Windows\\win.ini", true},  // from the root of the current drive
      {L"C:\\Windows\\", false},      // a trailing backslash never matches
      {L"C:\\Windows\\system32\\", false},
      {L"C:\\", false},
      {L"", false},
      {L"C:\\Windows\\*.qmx", false},
      {L"C:\\Windows\\w?n.inix", false},
      {L"C:\\Windows\\*\\kernel32.dll", false},  // wildcards only in the last part
      {L"C:\\Windows\\notepad.exe\\x", false},
      {L"C:\\No such folder\\notepad.exe", false},
      {std::wstring(L"C:\\Windows\0junk", 15), false},  // a NUL inside must not cut the text short
      {L"C:\\Windows\\" + std::wstring(300, L'a'), false},
      {L"C:\\Windows\\" + std::wstring(40000, L'b') + L"\\x.exe", false},
      {L"C:\\Windows" + std::wstring(5000, L'\\') + L"notepad.exe", true},
  };
}

inline std::vector<PathExistsCase> RelativePathExistsCases() {
  return {
      {L"notepad.exe", true},         {L"system32\\kernel32.dll", true}, {L"..\\Windows\\win.ini", true},
      {L"C:win.ini", true},           {L".", true},                      {L"nosuch.exe", false},
      {L"system32\\", false},         {L"*.ini", true},
  };
}

// The folder test on the same tree: attributes that mark a directory.
inline std::vector<PathExistsCase> FolderExistsCases() {
  return {
      {L"C:\\Windows\\", true},  {L"c:\\windows\\SYSTEM32", true}, {L"C:\\", true},
      {L"C:\\Windows\\notepad.exe", false}, {L"C:\\Win*", false}, {L"", false},
  };
}

}  // namespace qm::testing
