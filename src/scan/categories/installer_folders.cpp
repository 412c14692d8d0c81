// Installer folders: the installer's table of folders, whose value names are folder
// paths. A name whose folder is gone is reported for deletion of the value.
#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kFoldersKey = L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders\\";

// Only a folder counts: a name that names a file is reported.
bool IsHealthy(const CategoryScan& scan, const std::wstring& folder) {
  return Contains(folder, L"%") || scan.Files().FolderExists(folder) || scan.OnRemovableOrCdRom(folder);
}

}  // namespace

void Install(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(registry, kFoldersKey, ItemKind::Values, ProgressRule::CountMinusOne,
                    [&](const std::wstring& folder) {
                      scan.ShowItem(folder);
                      if (IsHealthy(scan, folder)) return;
                      scan.Report(registry, {std::wstring(kFoldersKey), folder, {}, FindingAction::DeleteValue},
                                  {folder});
                    });
}

}  // namespace qm
