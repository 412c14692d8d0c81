// Drivers: kernel-driver registrations whose ".sys" file is gone, in the current and
// the two numbered control sets, then device-reinstall records whose command is gone.
// Each enumerated key has its own progress run; a finding deletes the whole key.
#include <array>

#include "platform/file_system.h"
#include "platform/shell.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::array<std::wstring_view, 3> kDriverKeys{
    L"\\SYSTEM\\CurrentControlSet\\Services\\",
    L"\\SYSTEM\\ControlSet001\\Services\\",
    L"\\SYSTEM\\ControlSet002\\Services\\",
};
constexpr std::wstring_view kReinstallKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Reinstall\\";

// Data that cannot be tested: empty, or with an environment reference left unexpanded.
bool IsUntestable(const std::wstring& text) { return text.empty() || Contains(text, L"%"); }

bool PathIsPresent(const CategoryScan& scan, const std::wstring& path) {
  return scan.PathExistsWithOrWithoutX86(path) || scan.OnRemovableOrCdRom(path);
}

bool CommandIsHealthy(const CategoryScan& scan, const std::wstring& command) {
  return IsUntestable(command) || PathIsPresent(scan, scan.RunPath(command));
}

bool DriverIsHealthy(const CategoryScan& scan, const std::wstring& windowsFolder, const std::wstring& image) {
  if (IsUntestable(image)) return true;
  const std::wstring path = scan.RunPath(image);
  if (FileExtension(path) != L".sys") return true;  // a service program, not a driver
  if (PathIsPresent(scan, path) || scan.Files().PathExists(windowsFolder + L"\\" + path)) return true;
  const std::wstring upper = scan.LocaleUpper(image);
  return Contains(upper, L"SYSTEMROOT") || Contains(upper, L"SYSTEM32");
}

// The subkeys of one enumerated key, each tested on its string value `valueName`; a
// finding names the subkey without a trailing backslash.
template <class IsHealthy>
void ScanRegistrations(CategoryScan& scan, std::wstring_view enumeratedKey, std::wstring_view valueName,
                       IsHealthy isHealthy) {
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(registry, enumeratedKey, ItemKind::SubKeys, ProgressRule::CountMinusOne,
                    [&](const std::wstring& name) {
                      const std::wstring key = std::wstring(enumeratedKey) + name;
                      const std::wstring itemKey = key + L"\\";
                      scan.ShowItem(key);
                      const auto text = scan.ReadPlainString(registry, itemKey, valueName);
                      if (!text || isHealthy(*text)) return;
                      scan.Report(registry, {key, std::wstring(valueName), *text, FindingAction::DeleteKey},
                                  {itemKey, *text});
                    });
}

}  // namespace

void Driver(CategoryScan& scan) {
  const std::wstring windowsFolder = scan.SpecialFolderPath(csidl::Windows);
  for (std::wstring_view driverKey : kDriverKeys) {
    if (scan.Stopped()) return;
    ScanRegistrations(scan, driverKey, L"ImagePath",
                      [&](const std::wstring& image) { return DriverIsHealthy(scan, windowsFolder, image); });
  }
  if (scan.Stopped()) return;
  ScanRegistrations(scan, kReinstallKey, L"ReinstallString",
                    [&](const std::wstring& command) { return CommandIsHealthy(scan, command); });
}

}  // namespace qm
