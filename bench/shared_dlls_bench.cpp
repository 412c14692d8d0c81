// Times the Shared DLLs category over 100,000 values on the substitute platform
// against a plain loop that asks PathExists once for each of the same names.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exclusions/exclusion_list.h"
#include "platform/platform.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/substitute/substitute_shell.h"
#include "scan/findings_list.h"
#include "scan/scan_host.h"
#include "scan/scanner.h"

namespace qm {
namespace {

constexpr int kValueCount = 100000;
constexpr int kNamesPerFolder = 100;  // the substitute's PathExists reads the whole folder
constexpr int kEveryNthExists = 4;

// A window that shows nothing, with only the Shared DLLs category checked.
class QuietHost : public ScanHost {
 public:
  void SetProgressMaximum(int maximum) override { maximum_ = maximum; }
  int ProgressMaximum() const override { return maximum_; }
  void SetProgressPosition(int) override {}
  void SetStatusText(StatusPanel, std::wstring_view) override {}
  void ShowTotal(std::size_t) override {}
  void FindingsCleared() override {}
  void FindingAdded(const FindingsList&, std::size_t) override {}
  void FitColumns() override {}
  void ProcessMessages() override {}
  bool IsCategoryChecked(std::wstring_view name) override { return name == L"CheckBoxSharedDLLs"; }
  std::wstring CategoryCaption(std::wstring_view name) override { return std::wstring(name); }
  void SetCategoryRunning(std::wstring_view, bool) override {}
  void SetFixEnabled(bool) override {}
  void SetMenusEnabled(bool) override {}
  void ShowRunning(bool) override {}
  void ReportError(std::wstring_view message) override { std::fprintf(stderr, "error: %ls\n", std::wstring(message).c_str()); }

 private:
  int maximum_ = 0;
};

double SecondsOf(auto&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

int Run() {
  const auto driveC = std::filesystem::temp_directory_path() / "qm-shared-dlls-bench";
  std::filesystem::remove_all(driveC);

  SubstituteRegistry registry;
  SubstituteFileSystem files;
  SubstituteShell shell;
  SubstituteLocale locale;
  FixedClock clock;
  files.MapDrive(L'C', driveC);

  std::vector<std::wstring> names;
  Registry writer(registry, RootKey::LocalMachine, access::AllAccess64);
  writer.OpenKey(L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", true);
  for (int i = 0; i < kValueCount; ++i) {
    const int folder = i / kNamesPerFolder;
    names.push_back(L"C:\\Lib" + std::to_wstring(folder) + L"\\lib" + std::to_wstring(i) + L".dll");
    writer.WriteInteger(names.back(), 1);
    if (i % kNamesPerFolder == 0) std::filesystem::create_directories(driveC / ("Lib" + std::to_string(folder)));
    if (i % kEveryNthExists == 0)
      std::ofstream(driveC / ("Lib" + std::to_string(folder)) / ("lib" + std::to_string(i) + ".dll"));
  }
  writer.CloseKey();

  Platform platform{registry, files, shell, locale, clock};
  FindingsList findings;
  ExclusionList exclusions;
  QuietHost host;
  Scanner scanner(platform, host, findings, exclusions);

  const double scanSeconds = SecondsOf([&] { scanner.StartSearch(); });
  std::size_t present = 0;
  const double loopSeconds = SecondsOf([&] {
    for (const std::wstring& name : names) present += files.PathExists(name) ? 1 : 0;
  });
  std::filesystem::remove_all(driveC);

  std::printf("values: %d (%zu present, %zu findings)\n", kValueCount, present, findings.Size());
  std::printf("Shared DLLs scan:   %.3f s\n", scanSeconds);
  std::printf("PathExists loop:    %.3f s\n", loopSeconds);
  std::printf("ratio scan / loop:  %.2f\n", scanSeconds / loopSeconds);
  return findings.Size() + present == kValueCount ? 0 : 1;
}

}  // namespace
}  // namespace qm

int main() { return qm::Run(); }
