#include "platform/win32/win32_registry.h"

#include <algorithm>

#include "platform/win32/unique_handle.h"

namespace qm {

namespace {

class Win32Key : public RegistryBackend::OpenedKey {
 public:
  explicit Win32Key(UniqueHkey handle) : handle_(std::move(handle)) {}
  HKEY get() const { return handle_.get(); }

  static HKEY Of(RegistryBackend::OpenedKey& key) {
    auto* own = dynamic_cast<Win32Key*>(&key);
    return own ? own->get() : nullptr;
  }

 private:
  UniqueHkey handle_;
};

HKEY RootHandle(RootKey root) {
  switch (root) {
    case RootKey::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser: return HKEY_CURRENT_USER;
    case RootKey::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RootKey::Users: return HKEY_USERS;
  }
  return nullptr;
}

// The path as the API takes it: no leading or trailing backslash.
std::wstring ApiPath(std::wstring_view path) { return std::wstring(TrimBackslashes(path)); }

std::unique_ptr<RegistryBackend::OpenedKey> Opened(LSTATUS status, UniqueHkey handle) {
  if (status != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32Key>(std::move(handle));
}

UniqueHkey OpenHandle(HKEY parent, const std::wstring& path, REGSAM accessMask) {
  UniqueHkey handle;
  if (RegOpenKeyExW(parent, path.c_str(), 0, accessMask, handle.put()) != ERROR_SUCCESS) handle.reset();
  return handle;
}

// Names from an enumeration function called as enumerate(index, buffer, &length): the
// buffer starts at the size the key reports and grows whenever a name does not fit.
template <typename Enumerate>
std::vector<std::wstring> EnumerateNames(DWORD longestName, Enumerate enumerate) {
  std::vector<std::wstring> names;
  std::wstring buffer(longestName + 1, L'\0');
  for (DWORD index = 0;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS status = enumerate(index, buffer.data(), &length);
    if (status == ERROR_MORE_DATA) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    names.emplace_back(buffer.data(), length);
    ++index;
  }
  return names;
}

std::vector<std::wstring> SubKeysOf(HKEY key, DWORD longestName) {
  return EnumerateNames(longestName, [key](DWORD index, wchar_t* name, DWORD* length) {
    return RegEnumKeyExW(key, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::optional<RegKeyInfo> QueryInfo(HKEY key) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  FILETIME lastWrite{};
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values, &maxValueNameLen,
                       &maxValueLen, nullptr, &lastWrite) != ERROR_SUCCESS)
    return std::nullopt;
  return RegKeyInfo{subKeys, maxSubKeyLen, values, maxValueNameLen, maxValueLen,
                    (std::uint64_t(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime};
}

// Deletes `name` below `parent` with everything under it; every open and every delete
// carries the view bits, so the whole subtree is taken from the same branch.
bool DeleteSubtree(HKEY parent, const std::wstring& name, REGSAM viewBits) {
  {
    UniqueHkey key = OpenHandle(parent, name, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | viewBits);
    if (!key) return false;
    const auto info = QueryInfo(key.get());
    for (const std::wstring& child : SubKeysOf(key.get(), info ? info->maxSubKeyLen : MAX_PATH))
      DeleteSubtree(key.get(), child, viewBits);
  }
  return RegDeleteKeyExW(parent, name.c_str(), viewBits, 0) == ERROR_SUCCESS;
}

}  // namespace

std::unique_ptr<RegistryBackend::OpenedKey> Win32Registry::Open(RootKey root, std::wstring_view path,
                                                                std::uint32_t accessMask) {
  UniqueHkey handle;
  const LSTATUS status = RegOpenKeyExW(RootHandle(root), ApiPath(path).c_str(), 0, accessMask, handle.put());
  return Opened(status, std::move(handle));
}

std::unique_ptr<RegistryBackend::OpenedKey> Win32Registry::Create(RootKey root, std::wstring_view path,
                                                                  std::uint32_t accessMask) {
  UniqueHkey handle;
  const LSTATUS status = RegCreateKeyExW(RootHandle(root), ApiPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        accessMask, nullptr, handle.put(), nullptr);
  return Opened(status, std::move(handle));
}

std::vector<std::wstring> Win32Registry::SubKeyNames(OpenedKey& key) {
  const HKEY handle = Win32Key::Of(key);
  const auto info = QueryInfo(handle);
  if (!info) return {};
  return SubKeysOf(handle, info->maxSubKeyLen);
}

std::vector<std::wstring> Win32Registry::ValueNames(OpenedKey& key) {
  const HKEY handle = Win32Key::Of(key);
  const auto info = QueryInfo(handle);
  if (!info) return {};
  return EnumerateNames(info->maxValueNameLen, [handle](DWORD index, wchar_t* name, DWORD* length) {
    return RegEnumValueW(handle, index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::optional<RegKeyInfo> Win32Registry::Info(OpenedKey& key) { return QueryInfo(Win32Key::Of(key)); }

std::optional<RegValue> Win32Registry::Query(OpenedKey& key, std::wstring_view name) {
  const HKEY handle = Win32Key::Of(key);
  const std::wstring valueName(name);
  RegValue value;
  DWORD type = 0, size = 0;
  LSTATUS status = RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, nullptr, &size);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    value.data.resize(size);
    status = RegQueryValueExW(handle, valueName.c_str(), nullptr, &type, value.data.data(), &size);
    if (status == ERROR_SUCCESS) {
      value.data.resize(size);
      value.type = type;
      return value;
    }
  }
  return std::nullopt;
}

bool Win32Registry::SetValue(OpenedKey& key, std::wstring_view name, const RegValue& value) {
  // For the string types the API looks at the character before the end of the data and
  // the one after it, and adds a terminating NUL when the data seems to have forgotten
  // it. The data goes between two non-NUL characters of our own, so that the API reads
  // nothing outside the buffer and stores exactly the bytes given.
  constexpr std::uint8_t kGuard = 0xFF;
  std::vector<std::uint8_t> guarded(value.data.size() + 4, kGuard);
  std::copy(value.data.begin(), value.data.end(), guarded.begin() + 2);
  const std::wstring valueName(name);
  return RegSetValueExW(Win32Key::Of(key), valueName.c_str(), 0, value.type, guarded.data() + 2,
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(OpenedKey& key, std::wstring_view name) {
  const std::wstring valueName(name);
  return RegDeleteValueW(Win32Key::Of(key), valueName.c_str()) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteTree(RootKey root, std::wstring_view path, std::uint32_t accessMask) {
  const std::wstring keyPath = ApiPath(path);
  if (keyPath.empty()) return false;  // never a root key
  return DeleteSubtree(RootHandle(root), keyPath, accessMask & (KEY_WOW64_64KEY | KEY_WOW64_32KEY));
}

}  // namespace qm
