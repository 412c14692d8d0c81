#include "win32/about_window.h"

#include <utility>

#include "about/contact_links.h"
#include "platform/win32/win32_version_info.h"
#include "win32/message_loop.h"

namespace qm {

namespace {
constexpr wchar_t kMailPrefix[] = L"mailto:";
}

TForm8::TForm8(Shell& shell, std::function<std::wstring()> versionLine)
    : FormWindow(AboutFormDesign()), shell_(shell), versionLine_(std::move(versionLine)) {}

void TForm8::Create() {
  CreateForm(nullptr, true);
  FormCreate();
}

void TForm8::FormCreate() {
  LoadProgramIcon();
  Model().SetCaption(L"LabelCopyright", ReadLegalCopyright(shell_.ProgramFilePath()));
  Model().SetCaption(L"LabelGMail", kFirstMailAddress);
  Model().SetCaption(L"LabelYaMail", kSecondMailAddress);
}

void TForm8::LoadProgramIcon() {
  const int size = Scale(32);
  icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, 0)));
  SendMessageW(Control(L"Image1"), STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
}

void TForm8::FormShow() { Model().SetCaption(L"LabelVersion", versionLine_()); }

void TForm8::OnClick(const Component& component) {
  using Handler = void (TForm8::*)();
  static const std::pair<std::wstring_view, Handler> handlers[] = {
      {L"LabelTelegram", &TForm8::LabelTelegramClick},
      {L"LabelGMail", &TForm8::LabelGMailClick},
      {L"LabelYaMail", &TForm8::LabelYaMailClick},
      {L"LabelMainWebSite", &TForm8::LabelMainWebSiteClick},
      {L"Button1", &TForm8::Button1Click},
  };
  for (const auto& [name, handler] : handlers) {
    if (name == component.name) (this->*handler)();
  }
}

void TForm8::OpenLink(const std::wstring& target) {
  shell_.Open(target);
  ProcessMessages();
}

void TForm8::LabelTelegramClick() { OpenLink(kTelegramLink); }

void TForm8::LabelGMailClick() { OpenLink(kMailPrefix + std::wstring(kFirstMailAddress)); }

void TForm8::LabelYaMailClick() { OpenLink(kMailPrefix + std::wstring(kSecondMailAddress)); }

void TForm8::LabelMainWebSiteClick() { OpenLink(kWebSiteLink); }

void TForm8::Button1Click() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

}  // namespace qm
