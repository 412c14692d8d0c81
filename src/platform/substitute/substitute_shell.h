#pragma once
// Shell answers of a typical 64-bit Windows as a 32-bit program sees it; every folder
// can be set. Open only records what it was asked to open.
#include <map>
#include <vector>

#include "platform/shell.h"

namespace qm {

class SubstituteShell : public Shell {
 public:
  struct OpenCall {
    std::wstring target;
    std::wstring parameters;
  };

  SubstituteShell();

  // An empty path makes the folder query fail.
  void SetSpecialFolder(int folderNumber, std::wstring path) { specialFolders_[folderNumber] = std::move(path); }
  void SetWindowsDirectory(std::wstring path) { windowsDirectory_ = std::move(path); }
  void SetTempFolder(std::wstring path) { tempFolder_ = std::move(path); }
  void SetProgramFilePath(std::wstring path) { programFilePath_ = std::move(path); }
  void SetOpenSucceeds(bool succeeds) { openSucceeds_ = succeeds; }
  const std::vector<OpenCall>& OpenCalls() const { return openCalls_; }

  std::wstring SpecialFolderPath(int folderNumber) override;
  std::wstring WindowsDirectory() override { return windowsDirectory_; }
  std::wstring TempFolder() override { return tempFolder_; }
  std::wstring ProgramFilePath() override { return programFilePath_; }
  bool Open(std::wstring_view target, std::wstring_view parameters = {}) override;

 private:
  std::map<int, std::wstring> specialFolders_;
  std::wstring windowsDirectory_ = L"C:\\Windows";
  std::wstring tempFolder_ = L"C:\\Users\\User\\AppData\\Local\\Temp\\";
  std::wstring programFilePath_ = L"C:\\Program Files (x86)\\Quillmere\\Quillmere.exe";
  bool openSucceeds_ = true;
  std::vector<OpenCall> openCalls_;
};

}  // namespace qm
