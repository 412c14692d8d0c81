#include "win32/update_window.h"

namespace qm {

TForm10::TForm10() : FormWindow(UpdateFormDesign()) {}

void TForm10::Create() { CreateForm(nullptr, true); }

void TForm10::OnClick(const Component& component) {
  if (component.name == L"ButtonClose") ButtonCloseClick();
}

void TForm10::ButtonCloseClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

}  // namespace qm
