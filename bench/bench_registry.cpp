#include "bench_registry.h"

#include <memory>

#include "platform/file_system.h"
#include "platform/platform.h"

namespace qm::bench {

namespace {

// Every generated item's name holds this, so that it can be told from the rest.
constexpr std::wstring_view kMarker = L"QuillmereBench";
constexpr std::size_t kItemsPerFolder = 50;

constexpr std::uint32_t kWriteAccess = access::AllAccess;
constexpr std::uint32_t kReadAccess = access::Read;

using Key = std::unique_ptr<RegistryBackend::OpenedKey>;

std::wstring Number(std::size_t n) { return std::to_wstring(n); }
// An item's name: the prefix, the marker and the item's number.
std::wstring Name(std::wstring_view prefix, std::size_t i) { return std::wstring(prefix) + std::wstring(kMarker) + Number(i); }

// Writes the items of one category through the seams.
class ItemWriter {
 public:
  ItemWriter(const Platform& platform, bool withFiles) : platform_(platform), withFiles_(withFiles) {}

  // The path of item i's file with the extension; created when `present`.
  std::wstring File(std::size_t i, std::wstring_view extension, bool present) {
    const std::wstring path = FolderOf(i) + L"\\" + Name(L"n", i) + std::wstring(extension);
    if (present && withFiles_) platform_.files.WriteFile(path, {});
    return path;
  }
  // The path of a folder of item i; created when `present`.
  std::wstring Folder(std::size_t i, wchar_t letter, bool present) {
    const std::wstring path = FolderOf(i) + L"\\" + letter + Number(i);
    if (present && withFiles_) platform_.files.CreateFolders(path);
    return path;
  }
  // The folder that holds item i's files.
  static std::wstring FolderOf(std::size_t i) {
    return std::wstring(kBenchFolder) + L"\\F" + Number(i / kItemsPerFolder);
  }

  void Value(const BenchSource& source, std::wstring_view subPath, std::wstring_view name, const RegValue& value) {
    if (auto* key = Open(source, subPath)) platform_.registry.SetValue(*key, name, value);
  }
  void Text(const BenchSource& source, std::wstring_view subPath, std::wstring_view name, std::wstring_view text) {
    Value(source, subPath, name, MakeStringValue(text));
  }
  void EmptyKey(const BenchSource& source, std::wstring_view subPath) { Open(source, subPath); }

 private:
  // The key below the source, created; the last one stays open for the next write.
  RegistryBackend::OpenedKey* Open(const BenchSource& source, std::wstring_view subPath) {
    std::wstring path = source.path;
    if (!subPath.empty()) path += L"\\" + std::wstring(subPath);
    if (!lastKey_ || path != lastPath_ || source.root != lastRoot_) {
      lastKey_ = platform_.registry.Create(source.root, path, kWriteAccess | source.view);
      lastPath_ = path;
      lastRoot_ = source.root;
    }
    return lastKey_.get();
  }

  const Platform& platform_;
  bool withFiles_;
  Key lastKey_;
  std::wstring lastPath_;
  RootKey lastRoot_ = RootKey::LocalMachine;
};

using WriteItem = void (*)(ItemWriter& w, const BenchSource& source, std::size_t i, bool present);

struct CategoryItems {
  BenchSource source;
  WriteItem write;
};


constexpr std::uint32_t k64 = access::Wow64_64Key;
constexpr std::uint32_t k32 = access::Wow64_32Key;

// The class ids that healthy shell extensions name; only looked up by the scan.
const BenchSource& ClassIds() {
  static const BenchSource classIds{RootKey::LocalMachine, L"SOFTWARE\\Classes\\CLSID", ItemKind::SubKeys, k64,
                                    L"", L"", false, false};
  return classIds;
}

// One entry per category, in the order a scan runs them.
const std::vector<CategoryItems>& Categories() {
  static const std::vector<CategoryItems> categories{
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths", ItemKind::SubKeys, k64, L"",
        L""},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         const std::wstring key = Name(L"", i) + L".exe";
         w.Text(s, key, L"", w.File(i, L".exe", present));
         w.Text(s, key, L"Path", w.FolderOf(i));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", ItemKind::Values, k64, L"",
        L"", true},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Value(s, L"", w.File(i, L".dll", present), MakeDwordValue(1));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", ItemKind::Values, k64},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, L"", Name(L"Font ", i), w.File(i, L".ttf", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\Help", ItemKind::Values, k64},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.File(i, L".hlp", present);
         w.Text(s, L"", Name(L"n", i) + L".hlp", w.FolderOf(i));
       }},
      {{RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", ItemKind::Values,
        k64},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, L"", Name(L"", i), w.File(i, L".dll", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32", ItemKind::Values, k64},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, L"", Name(L"msacm.", i), w.File(i, L".acm", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", ItemKind::SubKeys, k64, L"",
        L"DisplayIcon"},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i), L"DisplayIcon", w.File(i, L".ico", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders", ItemKind::Values, k64,
        L"", L"", true},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Value(s, L"", w.Folder(i, L'd', present) + L"\\", MakeStringValue(L""));
       }},
      {{RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Services", ItemKind::SubKeys, k64, L"", L"ImagePath"},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i), L"ImagePath", w.File(i, L".exe", present));
       }},
      {{RootKey::LocalMachine, L"SYSTEM\\ControlSet002\\Services", ItemKind::SubKeys, k64, L"", L"ImagePath"},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i), L"ImagePath", w.File(i, L".sys", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Classes", ItemKind::SubKeys, k64, L"\\shell\\open\\command", L""},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i) + L"\\shell\\open\\command", L"", w.File(i, L".exe", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE", ItemKind::SubKeys, k32, L"", L"Version"},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         if (present) w.Text(s, Name(L"", i), L"Version", L"1");
         else w.EmptyKey(s, Name(L"", i));
       }},
      {{RootKey::CurrentUser, L"AppEvents\\Schemes\\Apps\\.Default", ItemKind::SubKeys, k64, L"\\.Current", L""},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i) + L"\\.Current", L"", w.File(i, L".wav", present));
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved",
        ItemKind::Values, k64},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         const std::wstring classId = L"{" + Name(L"", i) + L"}";
         w.Text(s, L"", classId, L"Bench extension " + Number(i));
         if (present) w.EmptyKey(ClassIds(), classId);
       }},
      {{RootKey::LocalMachine,
        L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\StandardProfile\\"
        L"AuthorizedApplications\\List",
        ItemKind::Values, k64, L"", L"", true},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         const std::wstring program = w.File(i, L".exe", present);
         w.Text(s, L"", program, program + L":*:Enabled:Bench");
       }},
      {{RootKey::CurrentUser, L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache",
        ItemKind::Values, k64, L"", L"", true},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         // A cached name with a reference is kept; plain text is always offered.
         w.Text(s, L"", w.File(i, L".exe", false), present ? L"@%SystemRoot%\\bench.dll,-1" : L"Bench program");
       }},
      {{RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages",
        ItemKind::SubKeys, k64, L"", L"InstallLocation"},
       [](ItemWriter& w, const BenchSource& s, std::size_t i, bool present) {
         w.Text(s, Name(L"", i), L"InstallLocation", w.Folder(i, L'p', present));
       }},
  };
  return categories;
}

}  // namespace

GeneratedRegistry GenerateRegistry(const Platform& platform, std::size_t itemCount, bool withFiles) {
  const auto& categories = Categories();
  GeneratedRegistry generated;
  for (const CategoryItems& category : categories) generated.sources.push_back(category.source);
  generated.sources.push_back(ClassIds());
  if (withFiles)
    for (std::size_t i = 0; i < itemCount; i += kItemsPerFolder) platform.files.CreateFolders(ItemWriter::FolderOf(i));
  // Category by category, so that each key is written in one go.
  for (std::size_t c = 0; c < categories.size(); ++c) {
    ItemWriter writer(platform, withFiles);
    for (std::size_t i = c; i < itemCount; i += categories.size()) {
      const bool broken = (i / categories.size()) % 2 == 1;
      categories[c].write(writer, categories[c].source, i, !broken);
      ++generated.items;
      generated.broken += broken ? 1 : 0;
    }
  }
  return generated;
}

namespace {

std::vector<std::wstring> ItemNames(RegistryBackend& registry, RegistryBackend::OpenedKey& key, ItemKind kind) {
  return kind == ItemKind::SubKeys ? registry.SubKeyNames(key) : registry.ValueNames(key);
}

// The text a plain loop tests for one item of an open source key.
std::wstring TestedText(RegistryBackend& registry, const BenchSource& source, RegistryBackend::OpenedKey& key,
                        const std::wstring& name) {
  if (source.items == ItemKind::Values && source.pathInName) return name;
  std::optional<RegValue> value;
  if (source.items == ItemKind::Values) {
    value = registry.Query(key, name);
  } else if (Key item = registry.Open(source.root, source.path + L"\\" + name + source.suffix, kReadAccess | source.view)) {
    value = registry.Query(*item, source.valueName);
  }
  if (!value || (value->type != regtype::Sz && value->type != regtype::ExpandSz)) return name;
  return StringFromRegData(value->data);
}

}  // namespace

std::size_t PlainLoop(const Platform& platform, const GeneratedRegistry& generated) {
  RegistryBackend& registry = platform.registry;
  std::size_t present = 0;
  for (const BenchSource& source : generated.sources) {
    if (!source.measured) continue;
    Key key = registry.Open(source.root, source.path, kReadAccess | source.view);
    if (!key) continue;
    for (const std::wstring& name : ItemNames(registry, *key, source.items))
      present += platform.files.PathExists(TestedText(registry, source, *key, name)) ? 1 : 0;
  }
  return present;
}

void RemoveGenerated(const Platform& platform, const GeneratedRegistry& generated) {
  RegistryBackend& registry = platform.registry;
  for (const BenchSource& source : generated.sources) {
    Key key = registry.Open(source.root, source.path, kWriteAccess | source.view);
    if (!key) continue;
    for (const std::wstring& name : ItemNames(registry, *key, source.items)) {
      if (name.find(kMarker) == std::wstring::npos) continue;
      if (source.items == ItemKind::Values) registry.DeleteValue(*key, name);
      else registry.DeleteTree(source.root, source.path + L"\\" + name, kWriteAccess | source.view);
    }
  }
}

}  // namespace qm::bench
