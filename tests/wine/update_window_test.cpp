// The update window driven in this process against a loopback HTTP server: real
// WinHTTP, real controls, real files in the temporary folder, the real shell "open".
// The window is shown without its modal loop; the test lets messages run until the
// worker's result has reached the window.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "loopback_server.h"
#include "platform/win32/win32_version_info.h"
#include "started_programs.h"
#include "win32/message_loop.h"
#include "win32/update_window.h"
#include "win32/windows_platform.h"

namespace qm {
namespace {

using namespace qm::testing;

constexpr char kFolder[] = "/download/Quillmere/";

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Lets messages run until `done` or until `seconds` have passed; gives `done()`.
bool PumpUntil(const std::function<bool()>& done, int seconds = 20) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    ProcessMessages();
  }
  return done();
}

bool TakeQuitMessage() {
  MSG message;
  bool found = false;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) found = true;
  return found;
}

void SetUpdateBase(const std::wstring& bases) {
  const std::string text = "QUILLMERE_UPDATE_BASE=" + std::string(bases.begin(), bases.end());
  _putenv(text.c_str());
}

std::wstring ClosedBase() {
  return L"http://127.0.0.1:" + std::to_wstring(LoopbackServer::ClosedPort()) + L"/download/";
}

// Every position the progress bar is given, in order.
LRESULT CALLBACK RecordPosition(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == PBM_SETPOS) reinterpret_cast<std::vector<int>*>(data)->push_back(static_cast<int>(wParam));
  return DefSubclassProc(window, message, wParam, lParam);
}

class UpdateWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
  }

  void SetUp() override {
    DeleteFileW(settingsPath_.c_str());
    DeleteFileW(setupPath_.c_str());
    DeleteFileW(record_.c_str());
    SetEnvironmentVariableW(L"QM_RECORD_ARGS_TO", record_.c_str());
  }

  void TearDown() override {
    window_.reset();
    TakeQuitMessage();
    SetUpdateBase(ClosedBase());
    // A started setup program may hold its file for a moment.
    for (int i = 0; i < 100 && GetFileAttributesW(setupPath_.c_str()) != INVALID_FILE_ATTRIBUTES; ++i) {
      DeleteFileW(setupPath_.c_str());
      Sleep(50);
    }
    DeleteFileW(record_.c_str());
    DeleteFileW(settingsPath_.c_str());
  }

  void WriteAutoCheck(bool on) {
    const std::string text = std::string("[Option]\r\nCheckBoxAutoCheck=") + (on ? "1" : "0") + "\r\n";
    windows_.Files().WriteFile(settingsPath_, {text.begin(), text.end()});
  }

  TForm10& MakeWindow(bool autoCheck = false) {
    WriteAutoCheck(autoCheck);
    window_ = std::make_unique<TForm10>(
        windows_.Get(), UpdateWindowContext{[] { return false; }, [this] { return settingsPath_; },
                                            [] { return std::wstring(L"English"); }, [] { return HWND{}; }});
    window_->Create();
    return *window_;
  }

  // Shows the window as the general menu does and waits for its check to end.
  TForm10& OpenAndCheck() {
    TForm10& window = window_ ? *window_ : MakeWindow();
    ShowWindow(window.Handle(), SW_SHOW);
    EXPECT_EQ(Caption(L"LabelUpDate"), L"Проверка обновления...");
    EXPECT_FALSE(IsWindowEnabled(Control(L"GroupBoxOption")));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Control(L"GroupBoxOption")) != FALSE; }));
    return window;
  }

  HWND Control(std::wstring_view name) { return window_->Control(name); }
  std::wstring Caption(std::wstring_view name) { return WindowText(Control(name)); }
  // A click on a check box, as the mouse gives it.
  void Tick(std::wstring_view name) { SendMessageW(Control(name), BM_CLICK, 0, 0); }
  bool Enabled(std::wstring_view name) { return IsWindowEnabled(Control(name)) != FALSE; }
  bool Visible(std::wstring_view name) { return IsWindowVisible(Control(name)) != FALSE; }

  // The window after a download or a cancel: idle again.
  void ExpectIdle() {
    EXPECT_FALSE(window_->Downloading());
    EXPECT_EQ(Caption(L"ButtonDownload"), L"Скачать");
    EXPECT_TRUE(Enabled(L"ButtonClose"));
    EXPECT_TRUE(Enabled(L"CheckBoxForceUpdate"));
    EXPECT_FALSE(Visible(L"ProgressBarUpdate"));
  }

  const std::wstring local_ = ReadFileVersion(BesideThisProgram(L"wine_tests.exe"));
  WindowsPlatform windows_;
  const std::wstring settingsPath_ = TempPath(L"qm_update_window_option.ini");
  const std::wstring setupPath_ = windows_.Shell().TempFolder() + L"Quillmere-setup.exe";
  const std::wstring record_ = TempPath(L"qm_update_window_args.txt");
  std::unique_ptr<TForm10> window_;
};

TEST_F(UpdateWindowTest, CheckShowsTheServerVersionAndOffersTheDownloadOnlyWhenNewer) {
  // The running program's version served back counts as the same version.
  const std::wstring same = local_.empty() ? L"0.0" : local_ + L".0";
  struct Case {
    std::wstring served;
    std::wstring stateLine;
    bool downloadEnabled;
  };
  const Case cases[] = {
      {L"99.1.2.3", L"Доступно обновление " + local_ + L" ---> 99.1.2.3", true},
      {same, L"Нет обновления", false},
  };
  for (const Case& c : cases) {
    // The version file's line end is trimmed away.
    LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok(std::string(c.served.begin(), c.served.end()) + "\r\n")}});
    SetUpdateBase(server.Url("/download/"));
    TForm10& window = OpenAndCheck();
    EXPECT_EQ(Caption(L"LabelUpDate"), c.stateLine) << c.served;
    EXPECT_EQ(Caption(L"LabelServerVersion"), c.served);
    EXPECT_EQ(Caption(L"LabelLocalVersion"), local_);
    EXPECT_EQ(Enabled(L"ButtonDownload"), c.downloadEnabled) << c.served;
    EXPECT_EQ(window.State().downloadUrl, server.Url(std::string(kFolder) + "Quillmere-setup.exe"));
    // "Принудительное" allows the download of the same version; unchecked again, it is
    // allowed only for a newer one.
    Tick(L"CheckBoxForceUpdate");
    EXPECT_TRUE(Enabled(L"ButtonDownload"));
    Tick(L"CheckBoxForceUpdate");
    EXPECT_EQ(Enabled(L"ButtonDownload"), c.downloadEnabled);
    window.Click(L"ButtonClose");
    PumpUntil([&] { return Caption(L"LabelUpDate").empty(); });
  }
}

TEST_F(UpdateWindowTest, TheSecondServerAnswersWhenTheFirstIsDown) {
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")}});
  SetUpdateBase(ClosedBase() + L";" + server.Url("/download/"));
  TForm10& window = OpenAndCheck();
  EXPECT_EQ(Caption(L"LabelServerVersion"), L"99.0");
  EXPECT_EQ(window.State().downloadUrl, server.Url(std::string(kFolder) + "Quillmere-setup.exe"));
}

TEST_F(UpdateWindowTest, NoServerAnsweringShowsTheConnectionErrorAndKeepsTheDownloadOff) {
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Status(404)}});
  SetUpdateBase(ClosedBase() + L";" + server.Url("/download/"));
  TForm10& window = OpenAndCheck();
  EXPECT_EQ(Caption(L"LabelUpDate"), L"Не удалось проверить обновления");
  EXPECT_EQ(Caption(L"LabelServerVersion"), L"Ошибка соединения");
  EXPECT_FALSE(Enabled(L"ButtonDownload"));
  EXPECT_TRUE(Enabled(L"CheckBoxAutoCheck"));
  EXPECT_TRUE(window.State().downloadUrl.empty());
}

TEST_F(UpdateWindowTest, QuickDownloadShowsProgressSavesToTheTempFolderAndStartsTheSetupWithItsSwitches) {
  const std::string setupProgram = ReadWholeFile(BesideThisProgram(L"record_args.exe"));
  ASSERT_FALSE(setupProgram.empty());
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")},
                         {std::string(kFolder) + "Quillmere-setup.exe", Reply::Ok(setupProgram)}});
  SetUpdateBase(server.Url("/download/"));
  TForm10& window = OpenAndCheck();
  std::vector<int> positions;
  SetWindowSubclass(Control(L"ProgressBarUpdate"), RecordPosition, 1, reinterpret_cast<DWORD_PTR>(&positions));

  window.Click(L"ButtonDownload");

  EXPECT_EQ(Caption(L"LabelUpDate"), L"Файлы обновления загружены!");
  EXPECT_EQ(ReadWholeFile(setupPath_), setupProgram);
  ASSERT_GE(positions.size(), 3u);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions.back(), 100);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
  EXPECT_TRUE(std::any_of(positions.begin(), positions.end(), [](int p) { return p > 0 && p < 100; }));
  // Quick mode asks the program to end once the setup program runs.
  EXPECT_TRUE(TakeQuitMessage());
  ExpectIdle();
  const auto commandLine = WaitForRecordedCommandLine(record_);
  ASSERT_TRUE(commandLine);
  EXPECT_TRUE(commandLine->ends_with(L" /SILENT /CLOSEAPPLICATIONS /SUPPRESSMSGBOXES /LANG=English /MERGETASKS=\"runcmd1\""))
      << *commandLine;
}

TEST_F(UpdateWindowTest, CancelDuringTheDownloadLeavesNoFileAndTheWindowIdle) {
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")},
                         {std::string(kFolder) + "Quillmere-setup.exe", Reply::Ok(std::string(8 << 20, 'x'))}});
  SetUpdateBase(server.Url("/download/"));
  TForm10& window = OpenAndCheck();
  windows_.Files().WriteFile(setupPath_, {'o', 'l', 'd'});  // left by an earlier download
  // The second press arrives while the first one's download lets messages run.
  PostMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(window.CommandId(L"ButtonDownload"), BN_CLICKED),
               reinterpret_cast<LPARAM>(Control(L"ButtonDownload")));

  window.Click(L"ButtonDownload");

  EXPECT_EQ(Caption(L"LabelUpDate"), L"Файлы обновления не загружены!");
  EXPECT_FALSE(windows_.Files().PathExists(setupPath_));
  EXPECT_FALSE(TakeQuitMessage());
  ExpectIdle();
}

TEST_F(UpdateWindowTest, AFailedDownloadSaysSoAndReturnsToIdle) {
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")},
                         {std::string(kFolder) + "Quillmere-setup.exe", Reply::Status(404)}});
  SetUpdateBase(server.Url("/download/"));
  TForm10& window = OpenAndCheck();

  window.Click(L"ButtonDownload");

  EXPECT_EQ(Caption(L"LabelUpDate"), L"Файлы обновления не загружены!");
  EXPECT_FALSE(windows_.Files().PathExists(setupPath_));
  ExpectIdle();
  EXPECT_TRUE(Enabled(L"ButtonDownload"));  // a second try is possible
}

// The message box of the start-up question, once it is up: its text and button captions.
struct QuestionBox {
  std::wstring text, yes, no;
};

// Waits on a helper thread for the question box of this process, reads it and answers No.
std::thread AnswerNo(QuestionBox& seen) {
  return std::thread([&seen] {
    for (int i = 0; i < 400; ++i) {
      HWND box = FindWindowW(L"#32770", L"Quillmere");
      DWORD process = 0;
      if (box) GetWindowThreadProcessId(box, &process);
      if (box && process == GetCurrentProcessId() && GetDlgItem(box, IDNO)) {
        seen.yes = WindowText(GetDlgItem(box, IDYES));
        seen.no = WindowText(GetDlgItem(box, IDNO));
        seen.text = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDNO, 0);
        return;
      }
      Sleep(50);
    }
  });
}

TEST_F(UpdateWindowTest, StartupCheckAsksWithTranslatedButtonsAndNoLeavesTheWindowClosed) {
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")}});
  SetUpdateBase(server.Url("/download/"));
  TForm10& window = MakeWindow(true);
  window.Model().SetCaption(L"LangYes", L"Yes!");
  window.Model().SetCaption(L"LangNo", L"No!");
  QuestionBox seen;
  std::thread answer = AnswerNo(seen);

  PumpUntil([&] { return !window.State().backgroundVersion.empty() && !seen.no.empty(); });
  answer.join();

  EXPECT_EQ(seen.yes, L"Yes!");
  EXPECT_EQ(seen.no, L"No!");
  EXPECT_EQ(seen.text, L"Доступно обновление 99.0\r\nХотите обновить приложение сейчас?");
  EXPECT_TRUE(window.UpdateAvailable());
  EXPECT_FALSE(IsWindowVisible(window.Handle()));
  EXPECT_FALSE(window.State().quickStartPending);
}

TEST_F(UpdateWindowTest, StartupCheckAnsweredYesOpensTheWindowAndInstallsAtOnce) {
  const std::string setupProgram = ReadWholeFile(BesideThisProgram(L"record_args.exe"));
  LoopbackServer server({{std::string(kFolder) + "version.txt", Reply::Ok("99.0")},
                         {std::string(kFolder) + "Quillmere-setup.exe", Reply::Ok(setupProgram)}});
  SetUpdateBase(server.Url("/download/"));
  TForm10& window = MakeWindow(true);
  std::wstring asked;
  window.SetQuestionPresenter([&](HWND, const std::wstring& text, const std::wstring&, const std::wstring&) {
    asked = text;
    return true;
  });

  // The answer opens the window modally; the quick start downloads and, in quick mode,
  // ends the window's loop with the request to end the program.
  PumpUntil([&] { return !asked.empty(); });

  EXPECT_TRUE(TakeQuitMessage());
  EXPECT_EQ(Caption(L"LabelServerVersion"), L"99.0");
  EXPECT_EQ(window.State().downloadUrl, server.Url(std::string(kFolder) + "Quillmere-setup.exe"));
  EXPECT_EQ(ReadWholeFile(setupPath_), setupProgram);
  EXPECT_TRUE(WaitForRecordedCommandLine(record_));
  // The server was asked once: the quick start does not check again.
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(UpdateWindowTest, ClosingWritesTheStartUpOption) {
  SetUpdateBase(ClosedBase());
  TForm10& window = MakeWindow(false);
  ShowWindow(window.Handle(), SW_SHOW);
  PumpUntil([&] { return Enabled(L"CheckBoxAutoCheck"); });
  Tick(L"CheckBoxAutoCheck");
  window.Click(L"ButtonClose");
  PumpUntil([&] { return Caption(L"LabelUpDate").empty(); });
  EXPECT_NE(ReadWholeFile(settingsPath_).find("CheckBoxAutoCheck=1"), std::string::npos);
}

}  // namespace
}  // namespace qm
