#pragma once
// The platform's folders as a scan run first asked them. They cannot change while a
// run lasts, and asking Windows for one costs more than a path test, which asks for
// them several times over. A new run forgets them and asks again.
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shell.h"

namespace qm {

class RunFolders final : public Shell {
 public:
  explicit RunFolders(Shell& shell) : shell_(shell) {}

  void Forget();

  std::wstring SpecialFolderPath(int folderNumber) override;
  std::wstring WindowsDirectory() override;
  std::wstring TempFolder() override { return shell_.TempFolder(); }
  std::wstring ProgramFilePath() override { return shell_.ProgramFilePath(); }
  bool Open(std::wstring_view target, std::wstring_view parameters) override { return shell_.Open(target, parameters); }

 private:
  Shell& shell_;
  std::map<int, std::wstring> specialFolders_;
  std::optional<std::wstring> windowsDirectory_;
};

}  // namespace qm
