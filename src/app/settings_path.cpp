#include "app/settings_path.h"

#include "platform/file_system.h"
#include "platform/shell.h"

namespace qm {

namespace {

std::wstring WithTrailingBackslash(std::wstring text) {
  if (text.empty() || text.back() != L'\\') text += L'\\';
  return text;
}

}  // namespace

std::wstring ProgramFolder(Shell& shell) { return FolderOfPath(shell.ProgramFilePath()); }

bool DetectPortableMode(FileSystem& files, Shell& shell) {
  return files.PathExists(ProgramFolder(shell) + L"portable.ini");
}

std::wstring GetAppDataFolder(Shell& shell) {
  std::wstring folder = shell.SpecialFolderPath(csidl::AppData);
  return folder.empty() ? folder : WithTrailingBackslash(std::move(folder));
}

std::wstring ConfigFilePath(FileSystem& files, Shell& shell, const ConfigLocation& location,
                            std::wstring_view fileName) {
  // Without a company name the path holds "\\" after the application-data folder, which
  // the file system reads as one backslash.
  std::wstring path = location.portableMode
                          ? ProgramFolder(shell)
                          : WithTrailingBackslash(GetAppDataFolder(shell)) +
                                WithTrailingBackslash(location.companyName) + std::wstring(kApplicationTitle) + L"\\";
  path.append(L"Config\\").append(fileName);
  files.CreateFolders(FolderOfPath(path));
  return path;
}

std::wstring PortablePath(FileSystem& files, Shell& shell, const ConfigLocation& location) {
  return ConfigFilePath(files, shell, location, kSettingsFileName);
}

std::wstring PortablePathExclusionReg(FileSystem& files, Shell& shell, const ConfigLocation& location) {
  return ConfigFilePath(files, shell, location, kExclusionFileName);
}

}  // namespace qm
