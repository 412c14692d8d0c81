#pragma once
// The About window TForm8: a fixed dialog with its own taskbar button, shown modally
// from the general menu.
#include "win32/form_window.h"

namespace qm {

class TForm8 final : public FormWindow {
 public:
  TForm8();
  // Creates the window, hidden.
  void Create();

 private:
  void OnClick(const Component& component) override;
  void Button1Click();
};

}  // namespace qm
