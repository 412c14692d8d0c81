// Services: one subkey per service. A service whose program file is gone is reported
// for deletion of its whole key. Kernel drivers (".sys" images) are left to the
// drivers category, and only an "ImagePath" stored as a plain string is tested.
#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/case_mapping.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kServicesKey = L"\\SYSTEM\\CurrentControlSet\\Services\\";

bool IsHealthy(const CategoryScan& scan, const std::wstring& image) {
  if (image.empty() || Contains(image, L"%")) return true;
  const std::wstring path = scan.RunPath(image);
  const std::wstring extension = FileExtension(path);
  if (extension.empty() || extension == L".sys") return true;
  const std::wstring lower = AsciiLower(image);
  if (Contains(lower, L"systemroot") || Contains(lower, L"system32")) return true;
  return scan.OnRemovableOrCdRom(path) || scan.PathExistsWithOrWithoutX86(path);
}

}  // namespace

void Services(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(registry, kServicesKey, ItemKind::SubKeys, ProgressRule::CountMinusOne,
                    [&](const std::wstring& name) {
                      const std::wstring serviceKey = std::wstring(kServicesKey) + name + L"\\";
                      scan.ShowItem(serviceKey);
                      const auto image = scan.ReadPlainString(registry, serviceKey, L"ImagePath");
                      if (!image || IsHealthy(scan, *image)) return;
                      scan.Report(registry, {serviceKey, L"ImagePath", *image, FindingAction::DeleteKey},
                                  {serviceKey, *image});
                    });
}

}  // namespace qm
