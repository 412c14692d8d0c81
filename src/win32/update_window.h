#pragma once
// The update window TForm10: a fixed dialog with its own taskbar button, shown
// modally from the general menu.
#include "win32/form_window.h"

namespace qm {

class TForm10 final : public FormWindow {
 public:
  TForm10();
  // Creates the window, hidden.
  void Create();

 private:
  void OnClick(const Component& component) override;
  void ButtonCloseClick();
};

}  // namespace qm
