#include "win32/update_window.h"

#include <commctrl.h>

#include <cstdlib>
#include <exception>
#include <thread>
#include <utility>

#include "app/settings_path.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_version_info.h"
#include "text/ini_file.h"
#include "update/update_install.h"
#include "update/update_settings.h"
#include "win32/message_loop.h"

namespace qm {

namespace {

// Sent by a worker: carry out the window task in lParam; the worker waits meanwhile.
constexpr UINT kRunWindowTask = WM_APP + 0x100;
// Posted by the quick start: press the download button once the window is up.
constexpr UINT kStartQuickDownload = WM_APP + 0x101;

constexpr wchar_t kStateLine[] = L"LabelUpDate";
constexpr wchar_t kServerVersion[] = L"LabelServerVersion";
constexpr wchar_t kDownloadButton[] = L"ButtonDownload";
constexpr wchar_t kOptions[] = L"GroupBoxOption";
constexpr wchar_t kForceUpdate[] = L"CheckBoxForceUpdate";
constexpr wchar_t kProgressBar[] = L"ProgressBarUpdate";

using WindowTask = std::function<void(TForm10&)>;

// On a worker: has the window's thread run `task` and waits until it has. Nothing
// happens when the window is gone by then.
void HandToWindowThread(HWND window, const WindowTask& task) {
  SendMessageW(window, kRunWindowTask, 0, reinterpret_cast<LPARAM>(&task));
}

// On a worker: one probe of the update servers, with its own registry access and
// HTTP client. Any failure counts as no server answering.
CheckOutcome ProbeServers(bool portable, const std::wstring& localVersion) {
  try {
    Win32Registry registry;
    Win32HttpClient http;
    return RunCheck(http, MakeUpdateConnection(registry, portable), localVersion);
  } catch (...) {
    CheckOutcome failed;
    failed.localVersion = localVersion;
    return failed;
  }
}

// Starts a worker that probes the servers and hands the outcome to `show` on the
// window's thread. The worker ends by itself.
void ProbeInBackground(HWND window, bool portable, std::wstring localVersion,
                       std::function<void(TForm10&, const CheckOutcome&)> show) {
  std::thread([window, portable, localVersion = std::move(localVersion), show = std::move(show)] {
    const CheckOutcome outcome = ProbeServers(portable, localVersion);
    HandToWindowThread(window, [&](TForm10& form) { show(form, outcome); });
  }).detach();
}

// While it lives, the message boxes this thread opens show `yes` and `no` on their
// Yes and No buttons.
class YesNoCaptions {
 public:
  YesNoCaptions(const std::wstring& yes, const std::wstring& no) : yes_(yes), no_(no) {
    previous_ = current_;
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  }
  YesNoCaptions(const YesNoCaptions&) = delete;
  YesNoCaptions& operator=(const YesNoCaptions&) = delete;
  ~YesNoCaptions() {
    if (hook_) UnhookWindowsHookEx(hook_);
    current_ = previous_;
  }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      const HWND box = reinterpret_cast<HWND>(wParam);
      SetDlgItemTextW(box, IDYES, current_->yes_.c_str());
      SetDlgItemTextW(box, IDNO, current_->no_.c_str());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static thread_local YesNoCaptions* current_;
  const std::wstring& yes_;
  const std::wstring& no_;
  YesNoCaptions* previous_ = nullptr;
  HHOOK hook_ = nullptr;
};

thread_local YesNoCaptions* YesNoCaptions::current_ = nullptr;

bool AskInMessageBox(HWND owner, const std::wstring& text, const std::wstring& yes, const std::wstring& no) {
  const YesNoCaptions captions(yes, no);
  return MessageBoxW(owner, text.c_str(), std::wstring(kApplicationTitle).c_str(),
                     MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON1) == IDYES;
}

}  // namespace

TForm10::TForm10(const Platform& platform, UpdateWindowContext context)
    : FormWindow(UpdateFormDesign()), platform_(platform), context_(std::move(context)),
      questionPresenter_(AskInMessageBox) {}

void TForm10::Create() {
  CreateForm(nullptr, true);
  FormCreate();
}

void TForm10::FormCreate() { LoadNastr(); }

void TForm10::LoadNastr() {
  const IniFile file = IniFile::Load(platform_.files, platform_.locale, context_.settingsPath());
  SetChecked(L"CheckBoxAutoCheck", ReadAutoCheck(file));
  if (IsChecked(L"CheckBoxAutoCheck")) CheckForUpdatesInBackground();
}

void TForm10::SaveNastr() {
  IniFile file = IniFile::Load(platform_.files, platform_.locale, context_.settingsPath());
  WriteAutoCheck(file, IsChecked(L"CheckBoxAutoCheck"));
  file.Save();
}

void TForm10::OnClick(const Component& component) {
  if (component.name == L"ButtonClose") ButtonCloseClick();
  if (component.name == kDownloadButton) ButtonDownloadClick();
  if (component.name == kForceUpdate) CheckBoxForceUpdateClick();
}

LRESULT TForm10::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRunWindowTask:
      (*reinterpret_cast<const WindowTask*>(lParam))(*this);
      return 0;
    case kStartQuickDownload:
      try {
        if (!downloading_) StartDownload();
      } catch (...) {
        // A quick start that fails leaves the window as the failure left it.
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wParam) FormShow();
      break;
    default:
      break;
  }
  return FormWindow::OnOtherMessage(message, wParam, lParam);
}

// --- showing and closing

void TForm10::FormShow() {
  SetText(kStateLine, {});
  SetText(L"LabelLocalVersion", LocalVersion());
  SetText(kServerVersion, {});
  SetText(kStateLine, Texts().checkUpdate);
  if (IsChecked(kForceUpdate)) {
    SetChecked(kForceUpdate, false);
    CheckBoxForceUpdateClick();
  }
  ++showing_;
  if (TakeShowAction(state_) == ShowAction::QuickStart) {
    QuickStartUpdate();
  } else {
    StartCheckThread();
  }
}

void TForm10::OnClose() { FormClose(); }

void TForm10::FormClose() {
  // Closing the window while a download runs cancels it.
  if (downloading_) CancelDownload();
  SetText(kStateLine, {});
  SetText(L"LabelLocalVersion", {});
  SetText(kServerVersion, {});
  SaveNastr();
}

void TForm10::ButtonCloseClick() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TForm10::CheckBoxForceUpdateClick() {
  if (downloading_) return;
  SetDownloadButton(IsChecked(kForceUpdate) || state_.compareResult == 1);
}

// --- checks

void TForm10::StartCheckThread() {
  SetOptionsEnabled(false);
  SetDownloadButton(false);
  const unsigned showing = showing_;
  ProbeInBackground(Handle(), context_.portableMode(), LocalVersion(),
                    [showing](TForm10& form, const CheckOutcome& outcome) { form.ShowCheck(outcome, showing); });
}

void TForm10::ShowCheck(const CheckOutcome& outcome, unsigned showing) {
  if (showing != showing_ || downloading_) return;  // a later showing has its own check
  const CheckView view = ApplyCheck(state_, outcome, Texts(), IsChecked(kForceUpdate));
  SetText(kStateLine, view.stateLine);
  SetText(kServerVersion, view.serverVersion);
  SetDownloadButton(view.downloadEnabled);
  SetOptionsEnabled(true);
}

void TForm10::CheckForUpdatesInBackground() {
  ProbeInBackground(Handle(), context_.portableMode(), LocalVersion(),
                    [](TForm10& form, const CheckOutcome& outcome) { form.OfferStartupUpdate(outcome); });
}

void TForm10::OfferStartupUpdate(const CheckOutcome& outcome) {
  RequireWindowThread();
  const auto question = ApplyStartupCheck(state_, outcome, Texts());
  updateAvailable_ = outcome.UpdateAvailable();
  // The user who has the window open already sees the same offer there.
  if (!question || IsWindowVisible(Handle())) return;
  if (!AskQuestion(*question)) return;
  AcceptStartupOffer(state_);
  ShowModal(context_.mainWindow ? context_.mainWindow() : nullptr);
}

bool TForm10::AskQuestion(const std::wstring& text) {
  const UpdateTexts texts = Texts();
  const HWND owner = context_.mainWindow ? context_.mainWindow() : nullptr;
  return questionPresenter_(owner && IsWindowVisible(owner) ? owner : nullptr, text, texts.yes, texts.no);
}

void TForm10::QuickStartUpdate() {
  SetText(kStateLine, BeginQuickStart(state_, Texts(), LocalVersion()));
  SetText(kServerVersion, state_.latestVersion);
  ProcessMessages();
  PostMessageW(Handle(), kStartQuickDownload, 0, 0);
}

// --- download

void TForm10::ButtonDownloadClick() {
  if (downloading_) {
    CancelDownload();
  } else {
    StartDownload();
  }
}

void TForm10::StartDownload() {
  abortUpdate_ = false;
  SetDownloading(true);
  SetProgress(0);
  const UpdateTexts texts = Texts();
  const InstallServices services{downloadClient_, platform_.files, platform_.shell,
                                 launcher_,       platform_.locale, platform_.clock};
  const InstallOptions options{context_.portableMode(), IsChecked(L"CheckBoxQuickUpdate"),
                               context_.currentLanguage(), GetSystemProxy(platform_.registry)};
  const InstallResult result = DownloadAndInstall(services, options, state_.downloadUrl, texts,
                                                  [this](std::uint64_t received, std::uint64_t total) {
                                                    return DownloadProgress(received, total);
                                                  });
  taskbar_.Clear(Handle());
  if (abortUpdate_) return;  // the cancel has set the window already
  SetText(kStateLine, result.stateLine);
  ProcessMessages();
  switch (result.outcome) {
    case InstallOutcome::EndProgramNow:
      // The replacement script ends this process and unpacks over its folder.
      ExitProcess(0);
    case InstallOutcome::CloseProgram:
      PostQuitMessage(0);
      ProcessMessages();
      break;
    case InstallOutcome::ScriptFailed:
      MessageBoxW(Handle(), result.message.c_str(), std::wstring(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
      break;
    default:
      break;
  }
  SetDownloading(false);
  ProcessMessages();
}

void TForm10::CancelDownload() {
  SetDownloading(false);
  SetProgress(0);
  abortUpdate_ = true;
  SetText(kStateLine, Texts().noDownload);
  ProcessMessages();
}

bool TForm10::DownloadProgress(std::uint64_t received, std::uint64_t total) {
  if (!abortUpdate_) {
    const int position = ProgressPercent(received, total);
    SetProgress(position);
    taskbar_.Show(Handle(), position, 100);
  }
  ProcessMessages();
  return !abortUpdate_;
}

// --- window changes

void TForm10::RequireWindowThread() const {
  // A worker that touched the window would race the window's own thread.
  if (GetWindowThreadProcessId(Handle(), nullptr) != GetCurrentThreadId()) std::abort();
}

void TForm10::SetText(std::wstring_view label, const std::wstring& text) {
  RequireWindowThread();
  Model().SetCaption(label, text);
}

void TForm10::SetDownloadButton(bool enabled) {
  RequireWindowThread();
  SetEnabled(kDownloadButton, enabled);
}

void TForm10::SetOptionsEnabled(bool enabled) {
  RequireWindowThread();
  SetEnabled(kOptions, enabled);
  for (const Component* option : Model().Children(kOptions)) SetEnabled(option->name, enabled);
}

void TForm10::SetDownloading(bool downloading) {
  RequireWindowThread();
  downloading_ = downloading;
  const UpdateTexts texts = Texts();
  Model().SetCaption(kDownloadButton, downloading ? texts.cancel : texts.download);
  SetEnabled(L"ButtonClose", !downloading);
  SetOptionsEnabled(!downloading);
  ShowWindow(Control(kProgressBar), downloading ? SW_SHOW : SW_HIDE);
  if (!downloading) taskbar_.Clear(Handle());
}

void TForm10::SetProgress(int position) {
  RequireWindowThread();
  SendMessageW(Control(kProgressBar), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

UpdateTexts TForm10::Texts() const {
  UpdateTexts texts;
  for (const UpdateTextItem& item : UpdateTextItems()) texts.*item.text = Model().Text(item.itemName);
  return texts;
}

std::wstring TForm10::LocalVersion() const { return ReadFileVersion(platform_.shell.ProgramFilePath()); }

}  // namespace qm
