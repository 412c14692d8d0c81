#include "win32/about_window.h"

namespace qm {

TForm8::TForm8() : FormWindow(AboutFormDesign()) {}

void TForm8::Create() { CreateForm(nullptr, true); }

void TForm8::OnClick(const Component& component) {
  if (component.name == L"Button1") Button1Click();
}

void TForm8::Button1Click() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

}  // namespace qm
