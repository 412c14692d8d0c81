// Shell extensions: the machine-wide list of approved shell extensions, whose value
// names are class identifiers and whose data are descriptions. An entry whose class
// is no longer registered is reported for deletion of the value.
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kApprovedKey =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved\\";

// The entry of the open list, reported when its description (plain or expandable
// text) is not empty, holds no reference, and its class is not registered in the
// 64-bit view. A description of another type is passed over.
void TestApprovedEntry(CategoryScan& scan, Registry& approved, const std::wstring& classId) {
  auto description = CategoryScan::ReadText(approved, classId);
  if (!description) return;
  scan.ShowItem(*description);
  if (description->empty() || Contains(*description, L"%")) return;
  if (scan.NewRegistry(RootKey::ClassesRoot, access::Read64).KeyExists(L"\\CLSID\\" + classId)) return;
  scan.Report(approved, {std::wstring(kApprovedKey), classId, *description, FindingAction::DeleteValue}, {classId});
}

}  // namespace

void ShellExtensions(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry approved = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(approved, kApprovedKey, ItemKind::Values, ProgressRule::CountMinusOne,
                    [&](const std::wstring& classId) {
                      scan.WithOpenKey(approved, kApprovedKey, [&] { TestApprovedEntry(scan, approved, classId); });
                    });
}

}  // namespace qm
