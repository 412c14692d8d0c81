// Application paths: one subkey per program name, whose default value holds the
// program's path and whose value "Path" holds its folder. The first pass reports
// subkeys whose program is gone, the second those whose folder is gone; both
// report the whole subkey.
#include <vector>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kAppPathsKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// Walks the subkeys that open, advancing the progress for each; test(keyPath) runs
// with the subkey open. False when a stop ended the walk.
template <class Test>
bool ForEachOpenedSubkey(CategoryScan& scan, Registry& registry, const std::vector<std::wstring>& names, Test test) {
  for (const std::wstring& name : names) {
    if (scan.Stopped()) return false;
    const std::wstring keyPath = std::wstring(kAppPathsKey) + name + L"\\";
    if (!registry.OpenKey(keyPath)) continue;
    if (scan.Stopped()) {
      registry.CloseKey();
      return false;
    }
    scan.AdvanceProgress();
    test(keyPath);
    registry.CloseKey();
  }
  return !scan.Stopped();
}

// A string value of the open subkey, shown in the status bar; nothing when the value
// is missing, is not a string, or Stop was pressed.
std::optional<std::wstring> ReadShownValue(CategoryScan& scan, Registry& registry, std::wstring_view name) {
  if (!registry.ValueExists(name) || scan.Stopped()) return std::nullopt;
  auto data = registry.TryReadString(name);
  if (data) scan.ShowItem(*data);
  return data;
}

bool ProgramIsPresent(const CategoryScan& scan, const std::wstring& program) {
  if (Contains(program, L"%")) return true;
  const std::wstring path = scan.RunPath(program);
  return scan.PathExistsWithOrWithoutX86(path) || scan.OnRemovableOrCdRom(path);
}

bool FolderIsPresent(const CategoryScan& scan, const std::wstring& folder) {
  if (Contains(folder, L"%")) return true;
  const std::wstring path = scan.RunPath(folder);
  return scan.FolderExistsWithOrWithoutX86(path) || scan.PathExistsWithOrWithoutX86(path) ||
         scan.OnRemovableOrCdRom(path);
}

bool ScanPrograms(CategoryScan& scan, Registry& registry, const std::vector<std::wstring>& names) {
  return ForEachOpenedSubkey(scan, registry, names, [&](const std::wstring& keyPath) {
    auto data = ReadShownValue(scan, registry, L"");
    if (!data) return;
    const std::wstring program = RemoveAll(scan.RunPath(*data), L";");
    if (ProgramIsPresent(scan, program)) return;
    scan.Report(registry, {keyPath, {}, program, FindingAction::DeleteKey}, {keyPath, program});
  });
}

void ScanFolders(CategoryScan& scan, Registry& registry, const std::vector<std::wstring>& names) {
  ForEachOpenedSubkey(scan, registry, names, [&](const std::wstring& keyPath) {
    auto data = ReadShownValue(scan, registry, L"Path");
    if (!data) return;
    const std::wstring folder = RemoveAll(*data, L";");
    if (FolderIsPresent(scan, folder)) return;
    scan.Report(registry, {keyPath, L"Path", folder, FindingAction::DeleteKey}, {keyPath, folder});
  });
}

}  // namespace

void AppPath(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  auto names = scan.ReadItemNames(registry, kAppPathsKey, ItemKind::SubKeys);
  if (!names) return;
  scan.ProcessMessages();
  // Each subkey counts once in each pass.
  scan.StartProgress(names->size(), ProgressRule::TwiceCountMinusOne);
  if (ScanPrograms(scan, registry, *names)) ScanFolders(scan, registry, *names);
}

}  // namespace qm
