#include "scan/run_path.h"

#include <algorithm>
#include <array>

#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/shell.h"
#include "text/text_ops.h"

namespace qm {

namespace {

// Lower case, prefixes, quotes and rundll32 gone, references to the platform's
// folders replaced. The folders are asked afresh at every call.
std::wstring Normalise(std::wstring_view data, Shell& shell, Locale& locale) {
  std::wstring text = locale.ToLower(data);
  ReplaceAll(text, L"\\\\", L"\\");
  for (std::wstring_view removed : {L"\\??\\", L"\\?\\", L"file://", L"\"", L"rundll32.exe ", L"rundll32 "})
    ReplaceAll(text, removed, {});

  const std::wstring windowsFolder = shell.SpecialFolderPath(csidl::Windows);
  const std::wstring windowsDrive = shell.WindowsDirectory().substr(0, 1);
  ReplaceAll(text, L"%programfiles%", windowsDrive + L":\\Program Files");
  ReplaceAll(text, L"%programfiles(x86)%", windowsDrive + L":\\Program Files (x86)");
  ReplaceAll(text, L"%systemroot%", windowsFolder);
  ReplaceAll(text, L"\\systemroot", windowsFolder);
  ReplaceAll(text, L"%windir%", windowsFolder);
  ReplaceAll(text, L"%commonprogramfiles(x86)%", shell.SpecialFolderPath(csidl::ProgramFilesCommonX86));
  ReplaceAll(text, L"%commonprogramfiles%", shell.SpecialFolderPath(csidl::ProgramFilesCommon));
  // A text with a drive part keeps its system32; "@" still counts as no drive here.
  if (DrivePart(text).empty()) ReplaceAll(text, L"system32", shell.SpecialFolderPath(csidl::System));
  ReplaceAll(text, L"@", {});
  ReplaceAll(text, L"n;1;", {});
  ReplaceAll(text, L"\\\\", L"\\");
  return text;
}

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

std::wstring Trim(std::wstring_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::wstring(text);
}

// Switches (" /", " *") and everything behind them go; an extension keeps three letters.
std::wstring CutArguments(std::wstring text) {
  const size_t slash = text.find(L" /");
  const size_t star = text.find(L" *");
  if (const size_t cut = std::min(slash, star); cut != std::wstring::npos) text = Trim(std::wstring_view(text).substr(0, cut));

  const size_t last = text.find_last_of(L".\\:");
  if (last != std::wstring::npos && text[last] == L'.' && text.size() > last + 4) text.resize(last + 4);
  return text;
}

// Drops the first occurrence of `part` in `path` and everything after it.
void CutAt(std::wstring& path, std::wstring_view part) {
  if (const size_t at = path.find(part); at != std::wstring::npos) path.resize(at);
}

struct ExtensionRepair {
  std::wstring_view marker;  // tested in the candidate
  enum { CutKeepMarker, CutDropMarker, DropFirstFour } how;
};

// The rules test the candidate C but cut the path P; a kept marker is put back on C only.
std::wstring RepairExtension(std::wstring path) {
  constexpr std::array<ExtensionRepair, 8> kRepairs{{
      {L".dll", ExtensionRepair::CutKeepMarker},
      {L";", ExtensionRepair::DropFirstFour},
      {L"/", ExtensionRepair::CutDropMarker},
      {L" -", ExtensionRepair::CutDropMarker},
      {L".exe", ExtensionRepair::CutKeepMarker},
      {L".db", ExtensionRepair::CutKeepMarker},
      {L".ax", ExtensionRepair::CutKeepMarker},
      {L".sys", ExtensionRepair::CutKeepMarker},
  }};
  std::wstring candidate = path;
  for (const ExtensionRepair& repair : kRepairs) {
    if (!Contains(candidate, repair.marker)) continue;
    if (repair.how == ExtensionRepair::DropFirstFour)
      path.erase(0, std::min<size_t>(4, path.size()));
    else
      CutAt(path, repair.marker);
    candidate = path;
    if (repair.how == ExtensionRepair::CutKeepMarker) candidate += repair.marker;
  }
  return candidate;
}

// A bare name is looked for in the system folder, then in the Windows folder. A path
// with a drive letter is left as it is: joined to a folder it would hold a colon
// inside, which no file name can.
std::wstring ResolveBareName(const std::wstring& candidate, FileSystem& files, Shell& shell) {
  if (candidate.size() >= 2 && candidate[1] == L':') return candidate;
  for (int folder : {csidl::System, csidl::Windows}) {
    std::wstring joined = shell.SpecialFolderPath(folder) + L"\\" + candidate;
    if (files.PathExists(joined)) return joined;
  }
  return candidate;
}

}  // namespace

std::wstring RunPath(std::wstring_view data, FileSystem& files, Shell& shell, Locale& locale) {
  std::wstring candidate = RepairExtension(CutArguments(Normalise(data, shell, locale)));
  return ResolveBareName(candidate, files, shell);
}

}  // namespace qm
