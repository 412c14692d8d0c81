#pragma once
// The worked examples of path extraction, shared by the native and the Windows test.
// Expected results name the platform's folders by placeholder: {windows}, {system},
// {common}, {commonx86} and {drive} (the Windows drive letter). Of the files named,
// only these exist: {system}\shell32.dll, {windows}\notepad.exe,
// {system}\notepad.exe and {windows}\explorer.exe.
#include <array>
#include <map>
#include <string>
#include <string_view>

namespace qm::testing {

struct RunPathExample {
  std::wstring_view data;
  std::wstring_view expected;
};

inline constexpr std::array<RunPathExample, 32> kRunPathExamples{{
    {L"\"C:\\Program Files\\App\\app.exe\" /S", L"c:\\program files\\app\\app.exe"},
    {L"C:\\Program Files\\App\\app.exe -silent", L"c:\\program files\\app\\app.exe"},
    {L"C:\\App\\app.exe \"%1\"", L"c:\\app\\app.exe"},
    {L"C:\\App\\tool.exe * args", L"c:\\app\\tool.exe"},
    {L"%SystemRoot%\\System32\\shell32.dll,-21787", L"{windows}\\system32\\shell32.dll"},
    {L"@shell32.dll,-4", L"{system}\\shell32.dll"},
    {L"shell32.dll", L"{system}\\shell32.dll"},
    {L"notepad.exe %1", L"{system}\\notepad.exe"},
    {L"explorer.exe", L"{windows}\\explorer.exe"},
    {L"rundll32.exe C:\\Windows\\system32\\shell32.dll,Control_RunDLL", L"c:\\windows\\system32\\shell32.dll"},
    {L"rundll32 advpack.dll,LaunchINFSection x.inf", L"advpack.dll"},
    {L"\\??\\C:\\Windows\\system32\\drivers\\x.sys", L"c:\\windows\\system32\\drivers\\x.sys"},
    {L"\\SystemRoot\\System32\\drivers\\x.sys", L"{windows}\\system32\\drivers\\x.sys"},
    {L"system32\\drivers\\x.sys", L"{system}\\drivers\\x.sys"},
    {L"\\\\?\\C:\\Tools\\t.exe", L"c:\\tools\\t.exe"},
    {L"\\\\server\\share\\x.exe", L"\\server\\share\\x.exe"},
    {L"%ProgramFiles%\\App\\app.exe", L"{drive}:\\Program Files\\app\\app.exe"},
    {L"%ProgramFiles(x86)%\\App\\app.exe,0", L"{drive}:\\Program Files (x86)\\app\\app.exe"},
    {L"%CommonProgramFiles%\\Shared\\x.dll", L"{common}\\shared\\x.dll"},
    {L"n;1;C:\\Old\\x.dll", L"c:\\old\\x.dll"},
    {L"1033;C:\\Program Files\\App", L";c:\\program files\\app"},
    {L"C:\\Docs\\page.html", L"c:\\docs\\page.htm"},
    {L"C:\\Mail\\mail.dbx", L"c:\\mail\\mail.db"},
    {L"C:\\my.dbfiles\\x.exe", L"c:\\my.db"},
    {L"C:\\App\\a b -c\\x.exe", L"c:\\app\\a b"},
    {L"@C:\\Windows\\system32\\x.dll,-5", L"c:\\windows\\{system}\\x.dll"},
    {L"file:///C:/Docs/readme.htm", L""},
    {L"/regserver", L""},
    {L"", L""},
    // A blank followed by a slash at the start leaves nothing.
    {L" /x", L""},
    // Neither a dot nor a backslash nor a colon: the tail stays.
    {L"NoExtension,12", L"noextension,12"},
    {L"%CommonProgramFiles(x86)%\\Shared\\x.dll", L"{commonx86}\\shared\\x.dll"},
}};

// The expected text with the placeholders replaced.
inline std::wstring ExpectedRunPath(std::wstring_view expected, const std::map<std::wstring, std::wstring>& folders) {
  std::wstring text(expected);
  for (const auto& [placeholder, folder] : folders)
    for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at + folder.size()))
      text.replace(at, placeholder.size(), folder);
  return text;
}

}  // namespace qm::testing
