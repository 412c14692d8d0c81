#include "scan/category_scan.h"

#include "exclusions/exclusion_list.h"
#include "platform/platform.h"
#include "scan/run_path.h"
#include "scan/scan_categories.h"
#include "scan/scan_host.h"
#include "text/case_mapping.h"
#include "text/text_ops.h"

namespace qm {

CategoryScan::CategoryScan(const ScanCategory& category, ScanSession& session)
    : session_(session), caption_(session.host.CategoryCaption(category.checkBoxName)) {}

Registry CategoryScan::NewRegistry(RootKey root, std::uint32_t accessMask) const {
  return Registry(session_.platform.registry, root, accessMask);
}

std::optional<std::vector<std::wstring>> CategoryScan::ReadItemNames(Registry& registry, std::wstring_view keyPath,
                                                                     ItemKind kind) const {
  if (Stopped() || !registry.OpenKey(keyPath)) return std::nullopt;
  if (Stopped()) {
    registry.CloseKey();
    return std::nullopt;
  }
  auto names = kind == ItemKind::SubKeys ? registry.GetKeyNames() : registry.GetValueNames();
  registry.CloseKey();
  if (Stopped()) return std::nullopt;
  return names;
}

std::optional<std::wstring> CategoryScan::ReadText(Registry& registry, std::wstring_view valueName, TextTypes types) {
  const auto value = registry.ReadRaw(valueName);
  if (!value) return std::nullopt;
  const bool expandAllowed = types == TextTypes::StringOrExpandString;
  if (value->type != regtype::Sz && !(value->type == regtype::ExpandSz && expandAllowed)) return std::nullopt;
  return StringFromRegData(value->data);
}

std::optional<std::wstring> CategoryScan::ReadPlainString(Registry& registry, std::wstring_view keyPath,
                                                          std::wstring_view name) {
  if (!registry.OpenKey(keyPath)) return std::nullopt;
  auto text = ReadPlainString(registry, name);
  registry.CloseKey();
  return text;
}

bool CategoryScan::KeyIsEmpty(Registry& registry) {
  auto info = registry.GetKeyInfo();
  return info && info->subKeys == 0 && info->values == 0;
}

std::size_t CategoryScan::CountKeyItems(RootKey root, std::wstring_view keyPath, ItemKind kind,
                                        std::uint32_t accessMask) const {
  // The key's information gives the number in one call, where reading the names costs
  // one call per item.
  Registry registry = NewRegistry(root, accessMask);
  if (Stopped() || !registry.OpenKey(keyPath)) return 0;
  const auto info = Stopped() ? std::nullopt : registry.GetKeyInfo();
  registry.CloseKey();
  if (!info) return 0;
  return kind == ItemKind::SubKeys ? info->subKeys : info->values;
}

void CategoryScan::StartProgress(std::size_t itemCount, ProgressRule rule) {
  const int count = static_cast<int>(itemCount);
  switch (rule) {
    case ProgressRule::Count: session_.host.SetProgressMaximum(count); break;
    case ProgressRule::CountMinusOne:
      if (count > 0) session_.host.SetProgressMaximum(count - 1);
      break;
    case ProgressRule::TwiceCountMinusOne: session_.host.SetProgressMaximum(2 * count - 1); break;
  }
  itemNumber_ = 0;
  session_.host.SetProgressPosition(0);
  ProcessMessages();
}

void CategoryScan::StepProgress() { session_.host.SetProgressPosition(itemNumber_++); }

void CategoryScan::StepProgressTo(std::size_t index) {
  itemNumber_ = static_cast<int>(index);
  StepProgress();
}

void CategoryScan::AdvanceProgress() { session_.host.SetProgressPosition(++itemNumber_); }

void CategoryScan::FinishProgress() {
  if (!Stopped()) session_.host.SetProgressPosition(session_.host.ProgressMaximum());
}

void CategoryScan::ShowItem(std::wstring_view item) { ShowStatus(caption_, item); }

void CategoryScan::ShowStatus(std::wstring_view categoryText, std::wstring_view item) {
  if (Stopped()) return;
  session_.host.SetStatusText(StatusPanel::Category, categoryText);
  session_.host.SetStatusText(StatusPanel::Item, item);
  ProcessMessages();
}

void CategoryScan::ProcessMessages() { session_.host.ProcessMessages(); }

FileSystem& CategoryScan::Files() const { return session_.platform.files; }

std::wstring CategoryScan::RunPath(std::wstring_view data) const {
  return qm::RunPath(data, session_.platform.files, session_.folders, session_.platform.locale);
}

std::wstring CategoryScan::SpecialFolderPath(int folderNumber) const {
  return session_.folders.SpecialFolderPath(folderNumber);
}

DriveType CategoryScan::DriveTypeOf(std::wstring_view drivePart) const {
  const std::wstring key = AsciiUpper(drivePart);
  auto known = session_.driveTypes.find(key);
  if (known == session_.driveTypes.end())
    known = session_.driveTypes.emplace(key, Files().GetDriveType(drivePart)).first;
  return known->second;
}

bool CategoryScan::OnRemovableOrCdRom(std::wstring_view path) const {
  const DriveType type = DriveTypeOf(DrivePart(path));
  return type == DriveType::Removable || type == DriveType::CdRom;
}

namespace {

// exists(path), or exists(path without "(x86)") when cutting it changes the path.
template <class Exists>
bool WithOrWithoutX86(std::wstring_view path, Exists exists) {
  if (exists(path)) return true;
  const std::wstring withoutX86 = RemoveAll(std::wstring(path), L"(x86)");
  return withoutX86.size() != path.size() && exists(withoutX86);
}

}  // namespace

bool CategoryScan::PathExistsWithOrWithoutX86(std::wstring_view path) const {
  return WithOrWithoutX86(path, [&](std::wstring_view p) { return Files().PathExists(p); });
}

bool CategoryScan::FolderExistsWithOrWithoutX86(std::wstring_view path) const {
  return WithOrWithoutX86(path, [&](std::wstring_view p) { return Files().FolderExists(p); });
}

std::wstring CategoryScan::LocaleLower(std::wstring_view text) const { return session_.platform.locale.ToLower(text); }

std::wstring CategoryScan::LocaleUpper(std::wstring_view text) const { return session_.platform.locale.ToUpper(text); }

bool CategoryScan::IsExcluded(std::wstring_view candidate) const {
  return qm::IsExcluded(session_.exclusions, candidate, session_.platform.locale);
}

bool CategoryScan::Report(const Registry& where, FoundEntry entry, std::initializer_list<std::wstring_view> candidates) {
  if (Stopped()) return false;
  for (std::wstring_view candidate : candidates)
    if (IsExcluded(candidate)) return false;
  if (Stopped()) return false;
  const std::size_t index = session_.findings.Add(Finding{
      .root = where.GetRootKey(),
      .keyPath = std::move(entry.keyPath),
      .valueName = std::move(entry.valueName),
      .valueData = std::move(entry.valueData),
      .category = caption_,
      .action = entry.action,
      .view = where.View(),
  });
  session_.host.FindingAdded(session_.findings, index);
  ProcessMessages();
  return true;
}

}  // namespace qm
