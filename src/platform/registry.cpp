#include "platform/registry.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/error.h"
#include "text/case_mapping.h"
#include "text/encoding.h"

namespace qm {

namespace {

struct RootName {
  RootKey root;
  std::wstring_view longName;
  std::wstring_view shortName;
};

constexpr std::array<RootName, 4> kRootNames{{
    {RootKey::ClassesRoot, L"HKEY_CLASSES_ROOT", L"HKCR"},
    {RootKey::CurrentUser, L"HKEY_CURRENT_USER", L"HKCU"},
    {RootKey::LocalMachine, L"HKEY_LOCAL_MACHINE", L"HKLM"},
    {RootKey::Users, L"HKEY_USERS", L"HKU"},
}};

constexpr std::wstring_view kWow6432Node = L"WOW6432Node";

// The first name of a path, and the rest from the backslash after it on.
std::pair<std::wstring_view, std::wstring_view> SplitFirstName(std::wstring_view path) {
  const size_t end = std::min(path.find(L'\\'), path.size());
  return {path.substr(0, end), path.substr(end)};
}

}  // namespace

std::wstring_view TrimBackslashes(std::wstring_view path) {
  while (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

std::wstring RootKeyText(RootKey root) {
  for (const auto& name : kRootNames)
    if (name.root == root) return std::wstring(name.longName);
  return {};
}

std::optional<RootKey> RootKeyFromText(std::wstring_view text) {
  for (const auto& name : kRootNames)
    if (EqualsAsciiNoCase(text, name.longName) || EqualsAsciiNoCase(text, name.shortName)) return name.root;
  return std::nullopt;
}

RegView ViewOfAccess(std::uint32_t accessMask) {
  if (accessMask & access::Wow64_64Key) return RegView::Bits64;
  if (accessMask & access::Wow64_32Key) return RegView::Bits32;
  return RegView::Default;
}

std::wstring StoredKeyPath(RootKey root, std::wstring_view path, RegView view) {
  constexpr std::wstring_view kSoftware = L"SOFTWARE";
  const std::wstring_view trimmed = TrimBackslashes(path);
  const auto [first, rest] = SplitFirstName(trimmed);
  const std::wstring_view second = SplitFirstName(rest.substr(std::min<size_t>(rest.size(), 1))).first;
  const bool redirected = root == RootKey::LocalMachine && view != RegView::Bits64 && EqualsNoCase(first, kSoftware) &&
                          !EqualsNoCase(second, kWow6432Node);
  if (!redirected) return std::wstring(trimmed);
  return std::wstring(first) + L"\\" + std::wstring(kWow6432Node) + std::wstring(rest);
}

std::uint32_t ViewBits(RegView view) {
  switch (view) {
    case RegView::Bits64: return access::Wow64_64Key;
    case RegView::Bits32: return access::Wow64_32Key;
    case RegView::Default: break;
  }
  return 0;
}

RegValue MakeStringValue(std::wstring_view text, std::uint32_t type) {
  RegValue value{type, {}};
  AppendUtf16Le(text, value.data);
  value.data.push_back(0);
  value.data.push_back(0);
  return value;
}

RegValue MakeDwordValue(std::uint32_t number) {
  return RegValue{regtype::Dword,
                  {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                   static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)}};
}

std::wstring StringFromRegData(const std::vector<std::uint8_t>& data) {
  std::wstring text = FromUtf16Le(data.data(), data.size());
  if (auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
  return text;
}

std::uint32_t DwordFromRegData(const std::vector<std::uint8_t>& data) {
  return data[0] | (data[1] << 8) | (data[2] << 16) | (std::uint32_t(data[3]) << 24);
}

Registry::Registry(RegistryBackend& backend, RootKey root, std::uint32_t accessMask)
    : backend_(backend), root_(root), access_(accessMask) {}

std::wstring Registry::Resolve(std::wstring_view path) const {
  const bool absolute = !path.empty() && path.front() == L'\\';
  std::wstring_view trimmed = TrimBackslashes(path);
  if (absolute || !current_ || currentPath_.empty()) return std::wstring(trimmed);
  if (trimmed.empty()) return currentPath_;
  return currentPath_ + L"\\" + std::wstring(trimmed);
}

bool Registry::OpenKey(std::wstring_view path, bool canCreate) {
  std::wstring full = Resolve(path);
  auto key = canCreate ? backend_.Create(root_, full, access_) : backend_.Open(root_, full, access_);
  if (!key) return false;
  current_ = std::move(key);
  currentPath_ = std::move(full);
  return true;
}

void Registry::CloseKey() {
  current_.reset();
  currentPath_.clear();
}

bool Registry::KeyExists(std::wstring_view path) {
  const std::uint32_t readMask = 0x20019 | (access_ & (access::Wow64_64Key | access::Wow64_32Key));
  return backend_.Open(root_, Resolve(path), readMask) != nullptr;
}

bool Registry::ValueExists(std::wstring_view name) {
  return current_ && backend_.Query(*current_, name).has_value();
}

std::vector<std::wstring> Registry::GetKeyNames() {
  return current_ ? backend_.SubKeyNames(*current_) : std::vector<std::wstring>{};
}

std::vector<std::wstring> Registry::GetValueNames() {
  return current_ ? backend_.ValueNames(*current_) : std::vector<std::wstring>{};
}

std::optional<RegKeyInfo> Registry::GetKeyInfo() {
  return current_ ? backend_.Info(*current_) : std::nullopt;
}

RegDataKind Registry::GetDataType(std::wstring_view name) {
  auto value = ReadRaw(name);
  if (!value) return RegDataKind::Unknown;
  switch (value->type) {
    case regtype::Sz: return RegDataKind::String;
    case regtype::ExpandSz: return RegDataKind::ExpandString;
    case regtype::Dword: return RegDataKind::Integer;
    case regtype::Binary: return RegDataKind::Binary;
    default: return RegDataKind::Unknown;
  }
}

std::optional<RegValue> Registry::ReadRaw(std::wstring_view name) {
  return current_ ? backend_.Query(*current_, name) : std::nullopt;
}

std::optional<std::wstring> Registry::TryReadString(std::wstring_view name) {
  auto value = ReadRaw(name);
  if (!value) return std::wstring();
  if (value->type != regtype::Sz && value->type != regtype::ExpandSz) return std::nullopt;
  return StringFromRegData(value->data);
}

std::wstring Registry::ReadString(std::wstring_view name) {
  auto text = TryReadString(name);
  if (!text) throw Error(L"Invalid data type for '" + std::wstring(name) + L"'");
  return *text;
}

std::int32_t Registry::ReadInteger(std::wstring_view name) {
  auto value = ReadRaw(name);
  if (!value || value->type != regtype::Dword || value->data.size() < 4)
    throw Error(L"Invalid data type for '" + std::wstring(name) + L"'");
  return static_cast<std::int32_t>(DwordFromRegData(value->data));
}

bool Registry::DeleteKey(std::wstring_view path) {
  std::wstring full = Resolve(path);
  if (full.empty()) return false;  // never the root itself
  return backend_.DeleteTree(root_, full, access_);
}

bool Registry::DeleteValue(std::wstring_view name) {
  return current_ && backend_.DeleteValue(*current_, name);
}

bool Registry::WriteValue(std::wstring_view name, const RegValue& value) {
  return current_ && backend_.SetValue(*current_, name, value);
}

bool Registry::WriteString(std::wstring_view name, std::wstring_view text) {
  return WriteValue(name, MakeStringValue(text, regtype::Sz));
}

bool Registry::WriteExpandString(std::wstring_view name, std::wstring_view text) {
  return WriteValue(name, MakeStringValue(text, regtype::ExpandSz));
}

bool Registry::WriteInteger(std::wstring_view name, std::uint32_t number) {
  return WriteValue(name, MakeDwordValue(number));
}

}  // namespace qm
