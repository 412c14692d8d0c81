// The scan as the user sees it, under Wine: the main window shown and painting,
// Search pressed, the list filling while the status bar and the progress move,
// against a plain loop over the same items. Prints `gui_ratio=<value>` at the end,
// and the growth of the process's private memory while the window comes to hold
// 100,000 findings. The items are removed again afterwards.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench_host.h"
#include "bench_registry.h"
#include "scan/category_scan.h"
#include "scan/scan_categories.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/windows_platform.h"
#include "wine_bench.h"

namespace qm::bench {
namespace {

// The main window as the program shows it, every category checked.
class ShownWindow {
 public:
  ShownWindow(const Platform& platform, std::span<const ScanCategory> categories) : window_(platform, categories) {
    window_.Create();
    window_.SetErrorPresenter(
        [](const std::wstring& message) { std::fprintf(stderr, "error shown: %ls\n", message.c_str()); });
    for (const ScanCategory& category : categories) window_.SetChecked(category.checkBoxName, true);
    window_.Show();
    UpdateWindow(window_.Handle());
    ProcessMessages();
  }

  std::size_t Rows() const {
    return static_cast<std::size_t>(ListView_GetItemCount(window_.Control(L"ListViewQuillmere")));
  }

  // Clicks Search (the click reaches the button through the message queue, as a
  // mouse click does) and runs the program's message loop until the run has ended
  // and the window has painted what it shows at the end. Gives the seconds taken.
  double SearchSeconds() {
    HWND button = window_.Control(L"ButtonSearch");
    return SecondsOf([&] {
      PostMessageW(button, BM_CLICK, 0, 0);
      MSG message{};
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);  // the whole run happens inside the click
        if (message.hwnd == button && message.message == BM_CLICK) break;
      }
      UpdateWindow(window_.Handle());
      ProcessMessages();
    });
  }

 private:
  TForm1 window_;
};

// A category that reports 100,000 broken values, one per item, through the steps
// every category takes (progress, status bar, exclusion test, the finding's row).
constexpr std::size_t kManyFindings = 100000;

void HundredThousandFindings(CategoryScan& scan) {
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.StartProgress(kManyFindings, ProgressRule::Count);
  for (std::size_t i = 0; i < kManyFindings && !scan.Stopped(); ++i) {
    scan.StepProgress();
    const std::wstring number = std::to_wstring(i);
    std::wstring path = std::wstring(kBenchFolder) + L"\\gone\\library" + number + L".dll";
    scan.ShowItem(path);
    scan.Report(registry,
                {L"\\SOFTWARE\\QuillmereBench\\Item" + number + L"\\", L"Path", path, FindingAction::DeleteValue},
                {path});
  }
  scan.FinishProgress();
}

constexpr ScanCategory kManyFindingsCategory[] = {
    {L"CheckBoxSharedDLLs", L"Общие библиотеки", HundredThousandFindings}};

constexpr double kMegabyte = 1024.0 * 1024.0;

// The counter Windows keeps of the process's private memory (Wine leaves it at 0).
double PrivateUsageMegabytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
  return static_cast<double>(counters.PrivateUsage) / kMegabyte;
}

// The committed private pages of the address space, counted region by region.
double CommittedPrivateMegabytes() {
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (auto* address = static_cast<const char*>(nullptr);
       VirtualQuery(address, &region, sizeof(region)) == sizeof(region); address += region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += static_cast<double>(region.RegionSize);
  }
  return bytes / kMegabyte;
}

void ShowMemoryOfManyFindings(const Platform& platform) {
  ShownWindow window(platform, kManyFindingsCategory);
  const double usageBefore = PrivateUsageMegabytes();
  const double committedBefore = CommittedPrivateMegabytes();
  const double seconds = window.SearchSeconds();
  std::printf(
      "window holding %zu findings (listed in %.1f s): committed private memory grew by %.1f MB, "
      "PrivateUsage by %.1f MB\n",
      window.Rows(), seconds, CommittedPrivateMegabytes() - committedBefore, PrivateUsageMegabytes() - usageBefore);
}

// The time of each category alone, through the window.
void ShowCategoryTimes(const Platform& platform) {
  for (const ScanCategory& category : ScanCategories()) {
    ShownWindow window(platform, std::span(&category, 1));
    std::printf("  %-28ls %.3f s\n", std::wstring(category.checkBoxName).c_str(), window.SearchSeconds());
  }
}

int Run(std::size_t items, bool byCategory) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  WindowsPlatform windows;
  const Platform& platform = windows.Get();
  BestTimes best;
  {
    const GeneratedOnDisk generated(platform, items);
    ShownWindow window(platform, ScanCategories());
    best = BestOfTwoRounds(platform, generated.Get(), [&] { return window.SearchSeconds(); });
    if (byCategory) ShowCategoryTimes(platform);
    std::printf("main window, real registry, ");
    generated.PrintSize();
    std::printf(": Search to the end %.3f s (%zu rows), plain loop %.3f s, ratio %.2f\n", best.scanSeconds,
                window.Rows(), best.loopSeconds, best.Ratio());
    // The same run with nothing shown, taken right after, so that the cost of the
    // window stands out from the machine's load of the moment.
    const double coreSeconds = std::min(CoreScanSeconds(platform), CoreScanSeconds(platform));
    std::printf("the same run with no window %.3f s: the window takes %.2f times as long\n", coreSeconds,
                best.scanSeconds / coreSeconds);
  }
  ShowMemoryOfManyFindings(platform);
  std::printf("gui_ratio=%.2f\n", best.Ratio());
  return 0;
}

}  // namespace
}  // namespace qm::bench

int main(int argc, char** argv) { return qm::bench::RunWithArguments(argc, argv, qm::bench::Run); }
