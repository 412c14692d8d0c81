#pragma once
// The update window TForm10: a fixed dialog with its own taskbar button, shown modally
// from the general menu. Each showing asks the update servers on a worker thread; the
// start-up check does the same in the background and offers a newer version. Workers
// never touch the window: they hand their result to the window's thread and wait there
// until it has been shown. The download runs on the window's thread; its progress lets
// waiting messages run, which is how the cancel click gets through.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_process_launcher.h"
#include "update/update_check.h"
#include "update/update_texts.h"
#include "win32/form_window.h"
#include "win32/taskbar_progress.h"

namespace qm {

// What the update window takes from the rest of the program.
struct UpdateWindowContext {
  std::function<bool()> portableMode;
  std::function<std::wstring()> settingsPath;     // Config\Option.ini
  std::function<std::wstring()> currentLanguage;  // handed to the setup program
  std::function<HWND()> mainWindow;               // the owner while the window is shown
};

class TForm10 final : public FormWindow {
 public:
  TForm10(const Platform& platform, UpdateWindowContext context);

  // Creates the window, hidden, and reads its setting; with "CheckBoxAutoCheck" on the
  // start-up check begins.
  void Create();

  // Asks the start-up question; true for Yes. The default shows a message box whose
  // buttons carry the given captions.
  using QuestionPresenter =
      std::function<bool(HWND owner, const std::wstring& text, const std::wstring& yes, const std::wstring& no)>;
  void SetQuestionPresenter(QuestionPresenter presenter) { questionPresenter_ = std::move(presenter); }

  const UpdateState& State() const { return state_; }
  // The download button's tag: a download is running and the button cancels it.
  bool Downloading() const { return downloading_; }
  bool UpdateAvailable() const { return updateAvailable_; }

  void CheckForUpdatesInBackground();
  void LoadNastr();
  void SaveNastr();

 private:
  void OnClick(const Component& component) override;
  void OnClose() override;
  LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  std::wstring_view InitialFocus() const override { return L"ButtonDownload"; }

  void FormCreate();
  void FormShow();
  void FormClose();
  void ButtonCloseClick();
  void CheckBoxForceUpdateClick();
  void ButtonDownloadClick();
  void StartDownload();
  void CancelDownload();
  void QuickStartUpdate();
  bool DownloadProgress(std::uint64_t received, std::uint64_t total);

  // The explicit check of this showing; its result is shown only while no newer
  // showing has begun.
  void StartCheckThread();
  void ShowCheck(const CheckOutcome& outcome, unsigned showing);
  void OfferStartupUpdate(const CheckOutcome& outcome);
  bool AskQuestion(const std::wstring& text);

  // Window changes; each stops the program when called off the window's thread.
  void RequireWindowThread() const;
  void SetText(std::wstring_view label, const std::wstring& text);
  void SetDownloadButton(bool enabled);
  void SetOptionsEnabled(bool enabled);
  void SetDownloading(bool downloading);
  void SetProgress(int position);

  UpdateTexts Texts() const;
  std::wstring LocalVersion() const;

  const Platform& platform_;
  UpdateWindowContext context_;
  UpdateState state_;
  QuestionPresenter questionPresenter_;
  TaskbarProgress taskbar_;
  Win32HttpClient downloadClient_;  // IdHTTP1
  Win32ProcessLauncher launcher_;
  bool downloading_ = false;  // ButtonDownload's tag: 1 while downloading
  bool abortUpdate_ = false;
  bool updateAvailable_ = false;
  unsigned showing_ = 0;  // counts the showings of the window
};

}  // namespace qm
