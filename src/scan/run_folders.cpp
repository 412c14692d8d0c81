#include "scan/run_folders.h"

namespace qm {

void RunFolders::Forget() {
  specialFolders_.clear();
  windowsDirectory_.reset();
}

std::wstring RunFolders::SpecialFolderPath(int folderNumber) {
  auto known = specialFolders_.find(folderNumber);
  if (known == specialFolders_.end())
    known = specialFolders_.emplace(folderNumber, shell_.SpecialFolderPath(folderNumber)).first;
  return known->second;
}

std::wstring RunFolders::WindowsDirectory() {
  if (!windowsDirectory_) windowsDirectory_ = shell_.WindowsDirectory();
  return *windowsDirectory_;
}

}  // namespace qm
