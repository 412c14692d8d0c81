#include "platform/substitute/substitute_shell.h"

namespace qm {

SubstituteShell::SubstituteShell()
    : specialFolders_{
          {csidl::AppData, L"C:\\Users\\User\\AppData\\Roaming"},
          {csidl::Windows, L"C:\\Windows"},
          {csidl::System, L"C:\\Windows\\system32"},
          {csidl::Fonts, L"C:\\Windows\\Fonts"},
          // A 32-bit program on 64-bit Windows is shown the x86 folders.
          {csidl::ProgramFiles, L"C:\\Program Files (x86)"},
          {csidl::ProgramFilesX86, L"C:\\Program Files (x86)"},
          {csidl::ProgramFilesCommon, L"C:\\Program Files (x86)\\Common Files"},
          {csidl::ProgramFilesCommonX86, L"C:\\Program Files (x86)\\Common Files"},
      } {}

std::wstring SubstituteShell::SpecialFolderPath(int folderNumber) {
  const auto found = specialFolders_.find(folderNumber);
  return found == specialFolders_.end() ? std::wstring() : found->second;
}

bool SubstituteShell::Open(std::wstring_view target, std::wstring_view parameters) {
  openCalls_.push_back({std::wstring(target), std::wstring(parameters)});
  return openSucceeds_;
}

}  // namespace qm
