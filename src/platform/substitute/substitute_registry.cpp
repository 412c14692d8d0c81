#include "platform/substitute/substitute_registry.h"

#include "text/case_mapping.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <map>
#include <unordered_map>

#include "platform/error.h"

namespace qm {

namespace {

// Access rights (KEY_*) that the operations on an open key need.
constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;

constexpr std::wstring_view kSoftware = L"SOFTWARE";
constexpr std::wstring_view kClasses = L"Classes";

// Names compare without regard to case; the lower-cased names also give the order in
// which subkeys are listed, as Wine lists them.
std::wstring FoldName(std::wstring_view name) {
  std::wstring folded(name);
  for (wchar_t& ch : folded) ch = LowerCaseOf(ch);
  return folded;
}

std::vector<std::wstring> SplitPath(std::wstring_view path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::wstring JoinPath(const std::vector<std::wstring>& parts) {
  std::wstring path;
  for (const auto& part : parts) path += (path.empty() ? L"" : L"\\") + part;
  return path;
}

std::uint64_t FileTimeNow() {
  using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
  constexpr std::uint64_t kUnixEpochAsFileTime = 116'444'736'000'000'000ull;
  const auto sinceUnixEpoch = std::chrono::duration_cast<Ticks>(std::chrono::system_clock::now().time_since_epoch());
  return kUnixEpochAsFileTime + static_cast<std::uint64_t>(sinceUnixEpoch.count());
}

std::wstring PathText(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

}  // namespace

struct SubstituteRegistry::Node {
  struct NamedValue {
    std::wstring name;
    RegValue value;
  };

  explicit Node(std::wstring_view keyName) : name(keyName) {}

  std::shared_ptr<Node> Child(std::wstring_view childName) const {
    auto found = children.find(FoldName(childName));
    return found == children.end() ? nullptr : found->second;
  }
  std::shared_ptr<Node> AddChild(std::wstring_view childName) {
    auto child = std::make_shared<Node>(childName);
    children.emplace(FoldName(childName), child);
    Touch();
    return child;
  }
  void RemoveChild(const Node& child) {
    children.erase(FoldName(child.name));
    Touch();
  }
  NamedValue* FindValue(std::wstring_view valueName) {
    auto found = valueIndexes.find(FoldName(valueName));
    return found == valueIndexes.end() ? nullptr : &values[found->second];
  }
  void AddValue(std::wstring_view valueName, const RegValue& value) {
    valueIndexes.emplace(FoldName(valueName), values.size());
    values.push_back({std::wstring(valueName), value});
  }
  bool EraseValue(std::wstring_view valueName) {
    auto found = valueIndexes.find(FoldName(valueName));
    if (found == valueIndexes.end()) return false;
    const std::size_t position = found->second;
    valueIndexes.erase(found);
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(position));
    for (auto& [folded, index] : valueIndexes)
      if (index > position) --index;
    return true;
  }
  bool SubtreeHasDeniedKey() const {
    return denied || std::any_of(children.begin(), children.end(),
                                 [](const auto& child) { return child.second->SubtreeHasDeniedKey(); });
  }
  void Touch() { lastWriteTime = FileTimeNow(); }

  std::wstring name;
  // By folded name, which is the order the registry lists subkeys in.
  std::map<std::wstring, std::shared_ptr<Node>> children;
  std::vector<NamedValue> values;  // in creation order
  std::unordered_map<std::wstring, std::size_t> valueIndexes;  // by folded name
  bool denied = false;
  std::uint64_t lastWriteTime = FileTimeNow();
};

// An open key: the node (gone once the key is deleted) and the rights it was opened with.
class SubstituteRegistry::Key : public RegistryBackend::OpenedKey {
 public:
  Key(const std::shared_ptr<Node>& node, std::uint32_t accessMask) : node_(node), access_(accessMask) {}

  // The node, when it still exists and the key was opened with `rights`.
  static std::shared_ptr<Node> With(OpenedKey& key, std::uint32_t rights) {
    auto* own = dynamic_cast<Key*>(&key);
    if (!own || (own->access_ & rights) != rights) return nullptr;
    return own->node_.lock();
  }

 private:
  std::weak_ptr<Node> node_;
  std::uint32_t access_;
};

// Where a key lives: a root tree and the names below it, after redirection.
struct SubstituteRegistry::Location {
  std::shared_ptr<Node> root;
  std::vector<std::wstring> parts;
};

SubstituteRegistry::SubstituteRegistry()
    : currentUser_(std::make_shared<Node>(L"")),
      localMachine_(std::make_shared<Node>(L"")),
      users_(std::make_shared<Node>(L"")) {}

SubstituteRegistry::~SubstituteRegistry() = default;

SubstituteRegistry::Location SubstituteRegistry::Locate(RootKey root, std::wstring_view path,
                                                        std::uint32_t accessMask) const {
  Location location{nullptr, SplitPath(path)};
  auto& parts = location.parts;
  switch (root) {
    case RootKey::ClassesRoot:
      location.root = localMachine_;
      parts.insert(parts.begin(), {std::wstring(kSoftware), std::wstring(kClasses)});
      break;
    case RootKey::LocalMachine:
      location.root = localMachine_;
      parts = SplitPath(StoredKeyPath(root, path, ViewOfAccess(accessMask)));
      break;
    case RootKey::CurrentUser: location.root = currentUser_; break;
    case RootKey::Users: location.root = users_; break;
  }
  return location;
}

std::shared_ptr<SubstituteRegistry::Node> SubstituteRegistry::Find(const Location& location) const {
  std::shared_ptr<Node> node = location.root;
  for (size_t i = 0; node && i < location.parts.size(); ++i) node = node->Child(location.parts[i]);
  return node;
}

std::unique_ptr<RegistryBackend::OpenedKey> SubstituteRegistry::Open(RootKey root, std::wstring_view path,
                                                                     std::uint32_t accessMask) {
  auto node = Find(Locate(root, path, accessMask));
  if (!node || node->denied) return nullptr;
  return std::make_unique<Key>(node, accessMask);
}

std::unique_ptr<RegistryBackend::OpenedKey> SubstituteRegistry::Create(RootKey root, std::wstring_view path,
                                                                       std::uint32_t accessMask) {
  const Location location = Locate(root, path, accessMask);
  std::shared_ptr<Node> node = location.root;
  if (!node) return nullptr;
  for (const auto& part : location.parts) {
    auto child = node->Child(part);
    node = child ? child : node->AddChild(part);
  }
  if (node->denied) return nullptr;
  return std::make_unique<Key>(node, accessMask);
}

std::vector<std::wstring> SubstituteRegistry::SubKeyNames(OpenedKey& key) {
  std::vector<std::wstring> names;
  if (auto node = Key::With(key, kEnumerateSubKeys))
    for (const auto& [folded, child] : node->children) names.push_back(child->name);
  return names;
}

std::vector<std::wstring> SubstituteRegistry::ValueNames(OpenedKey& key) {
  std::vector<std::wstring> names;
  if (auto node = Key::With(key, kQueryValue))
    for (const auto& value : node->values) names.push_back(value.name);
  return names;
}

std::optional<RegKeyInfo> SubstituteRegistry::Info(OpenedKey& key) {
  auto node = Key::With(key, kQueryValue);
  if (!node) return std::nullopt;
  RegKeyInfo info;
  info.subKeys = static_cast<std::uint32_t>(node->children.size());
  info.values = static_cast<std::uint32_t>(node->values.size());
  for (const auto& [folded, child] : node->children)
    info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<std::uint32_t>(Utf16Length(child->name)));
  for (const auto& value : node->values) {
    info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<std::uint32_t>(Utf16Length(value.name)));
    info.maxValueLen = std::max(info.maxValueLen, static_cast<std::uint32_t>(value.value.data.size()));
  }
  info.lastWriteTime = node->lastWriteTime;
  return info;
}

std::optional<RegValue> SubstituteRegistry::Query(OpenedKey& key, std::wstring_view name) {
  auto node = Key::With(key, kQueryValue);
  if (!node) return std::nullopt;
  const auto* found = node->FindValue(name);
  if (!found) return std::nullopt;
  return found->value;
}

bool SubstituteRegistry::SetValue(OpenedKey& key, std::wstring_view name, const RegValue& value) {
  auto node = Key::With(key, kSetValue);
  if (!node) return false;
  if (auto* found = node->FindValue(name))
    found->value = value;
  else
    node->AddValue(name, value);
  node->Touch();
  return true;
}

bool SubstituteRegistry::DeleteValue(OpenedKey& key, std::wstring_view name) {
  auto node = Key::With(key, kSetValue);
  if (!node) return false;
  if (!node->EraseValue(name)) return false;
  node->Touch();
  return true;
}

bool SubstituteRegistry::DeleteTree(RootKey root, std::wstring_view path, std::uint32_t accessMask) {
  if (SplitPath(path).empty()) return false;  // never a root key
  Location location = Locate(root, path, accessMask);
  const std::wstring name = location.parts.back();
  location.parts.pop_back();
  auto parent = Find(location);
  auto node = parent ? parent->Child(name) : nullptr;
  // A key that cannot be opened stops the deletion before anything is deleted.
  if (!node || node->SubtreeHasDeniedKey()) return false;
  parent->RemoveChild(*node);
  return true;
}

bool SubstituteRegistry::DenyAccess(RootKey root, std::wstring_view path, RegView view) {
  auto node = Find(Locate(root, path, ViewBits(view)));
  if (!node) return false;
  node->denied = true;
  return true;
}

void SubstituteRegistry::Import(const RegFile& file) {
  for (const RegFileKey& key : file.keys) {
    if (key.deleted) {
      DeleteTree(key.root, key.path, access::AllAccess64);
      continue;
    }
    auto opened = Create(key.root, key.path, access::AllAccess64);
    if (!opened) throw Error(L"Cannot create the key \"" + RegKeyFullPath(key.root, key.path) + L"\"");
    for (const RegFileValue& entry : key.values) {
      if (entry.value)
        SetValue(*opened, entry.name, *entry.value);
      else
        DeleteValue(*opened, entry.name);
    }
  }
}

void SubstituteRegistry::ImportRegText(std::wstring_view text, Locale& locale) { Import(ParseRegText(text, locale)); }

void SubstituteRegistry::LoadRegFile(const std::filesystem::path& path, Locale& locale) {
  std::ifstream stream(path, std::ios::binary);
  if (!stream) throw Error(L"Cannot open file \"" + PathText(path) + L"\"");
  const Bytes bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  try {
    Import(ParseRegFile(bytes, locale));
  } catch (const Error& error) {
    throw Error(L"\"" + PathText(path) + L"\": " + error.Message());
  }
}

void SubstituteRegistry::ExportTree(const Node& node, const std::wstring& fullPath, std::wstring& out) const {
  if (node.denied) return;
  std::vector<RegFileValue> entries;
  entries.reserve(node.values.size());
  for (const auto& value : node.values) entries.push_back({value.name, value.value});
  out += FormatRegKeyBlock(fullPath, entries);
  for (const auto& [folded, child] : node.children) ExportTree(*child, fullPath + L"\\" + child->name, out);
}

std::wstring SubstituteRegistry::ExportRegText(RootKey root, std::wstring_view path, RegView view) {
  const std::wstring fullPath = RegKeyFullPath(root, JoinPath(SplitPath(path)));
  auto node = Find(Locate(root, path, ViewBits(view)));
  if (!node || node->denied) throw Error(L"Cannot export \"" + fullPath + L"\": the key cannot be opened");
  std::wstring text = FormatRegFileHeader();
  ExportTree(*node, fullPath, text);
  return text;
}

void SubstituteRegistry::SaveRegFile(const std::filesystem::path& file, RootKey root, std::wstring_view path,
                                     RegView view) {
  const Bytes bytes = EncodeRegFileText(ExportRegText(root, path, view));
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  stream.close();
  if (!stream) throw Error(L"Cannot create file \"" + PathText(file) + L"\".");
}

}  // namespace qm
