#pragma once
// The About window TForm8: a fixed dialog with its own taskbar button, shown modally
// from the general menu. It shows the program's icon, the main window's caption as
// version line, the legal notice, and links to the author's contact channels.
#include <functional>
#include <string>

#include "platform/shell.h"
#include "win32/form_window.h"
#include "win32/gdi.h"

namespace qm {

class TForm8 final : public FormWindow {
 public:
  // `versionLine` gives the main window's current caption.
  TForm8(Shell& shell, std::function<std::wstring()> versionLine);
  // Creates the window, hidden, and runs its creation handler.
  void Create();

 private:
  void OnClick(const Component& component) override;
  void OnShow() override { FormShow(); }
  void OnDpiChanged() override { LoadProgramIcon(); }

  void FormCreate();
  void FormShow();
  void LabelTelegramClick();
  void LabelGMailClick();
  void LabelYaMailClick();
  void LabelMainWebSiteClick();
  void Button1Click();

  void LoadProgramIcon();
  void OpenLink(const std::wstring& target);

  Shell& shell_;
  std::function<std::wstring()> versionLine_;
  UniqueIcon icon_;
};

}  // namespace qm
