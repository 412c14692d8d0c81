#pragma once
// The registry as the program sees it: a raw backend (the platform seam, implemented
// over advapi32 on Windows and by an in-memory tree elsewhere) and the registry
// object that every scan, the repair and the settings readers use.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

enum class RootKey : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

// "HKEY_LOCAL_MACHINE" and so on, as findings and .reg files name the roots.
std::wstring RootKeyText(RootKey root);
std::optional<RootKey> RootKeyFromText(std::wstring_view text);  // also accepts HKLM, HKCU, HKCR, HKU

namespace access {
constexpr std::uint32_t Read64 = 0x20119;       // KEY_READ | KEY_WOW64_64KEY
constexpr std::uint32_t AllAccess64 = 0xF013F;  // KEY_ALL_ACCESS | KEY_WOW64_64KEY
constexpr std::uint32_t Read32 = 0x20219;       // KEY_READ | KEY_WOW64_32KEY
constexpr std::uint32_t Read = 0x20019;         // KEY_READ
constexpr std::uint32_t AllAccess = 0xF003F;    // KEY_ALL_ACCESS
constexpr std::uint32_t Wow64_64Key = 0x0100;
constexpr std::uint32_t Wow64_32Key = 0x0200;
}  // namespace access

// Which branch of HKLM\SOFTWARE a key is seen in. Default is what a 32-bit
// program gets without view bits, that is the 32-bit branch on 64-bit Windows.
enum class RegView { Default, Bits64, Bits32 };
RegView ViewOfAccess(std::uint32_t accessMask);
std::uint32_t ViewBits(RegView view);

// Where the registry keeps a key seen in `view`: a key of HKLM\SOFTWARE seen in the
// 32-bit or the default view lives under HKLM\SOFTWARE\WOW6432Node, every other key
// where its path says. The path is given and returned below the root, without leading
// or trailing backslash.
std::wstring StoredKeyPath(RootKey root, std::wstring_view path, RegView view);

// Registry value types (REG_*).
namespace regtype {
constexpr std::uint32_t None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4, DwordBigEndian = 5,
                        Link = 6, MultiSz = 7, ResourceList = 8, FullResourceDescriptor = 9,
                        ResourceRequirementsList = 10, Qword = 11;
}

// A value exactly as the registry stores it; strings are UTF-16 LE bytes.
struct RegValue {
  std::uint32_t type = regtype::None;
  std::vector<std::uint8_t> data;
  friend bool operator==(const RegValue&, const RegValue&) = default;
};

struct RegKeyInfo {
  std::uint32_t subKeys = 0;
  std::uint32_t maxSubKeyLen = 0;
  std::uint32_t values = 0;
  std::uint32_t maxValueNameLen = 0;
  std::uint32_t maxValueLen = 0;
  std::uint64_t lastWriteTime = 0;  // FILETIME ticks, UTC
};

// The platform seam. Paths are below the root, without a leading backslash; a
// trailing backslash is ignored. The view bits of `accessMask` choose the branch.
class RegistryBackend {
 public:
  class OpenedKey {
   public:
    virtual ~OpenedKey() = default;
  };
  virtual ~RegistryBackend() = default;

  virtual std::unique_ptr<OpenedKey> Open(RootKey root, std::wstring_view path, std::uint32_t accessMask) = 0;
  virtual std::unique_ptr<OpenedKey> Create(RootKey root, std::wstring_view path, std::uint32_t accessMask) = 0;
  virtual std::vector<std::wstring> SubKeyNames(OpenedKey& key) = 0;  // enumeration order
  virtual std::vector<std::wstring> ValueNames(OpenedKey& key) = 0;   // enumeration order
  virtual std::optional<RegKeyInfo> Info(OpenedKey& key) = 0;
  virtual std::optional<RegValue> Query(OpenedKey& key, std::wstring_view name) = 0;
  virtual bool SetValue(OpenedKey& key, std::wstring_view name, const RegValue& value) = 0;
  virtual bool DeleteValue(OpenedKey& key, std::wstring_view name) = 0;
  // Deletes the key with its whole subtree, in the view of `accessMask`.
  virtual bool DeleteTree(RootKey root, std::wstring_view path, std::uint32_t accessMask) = 0;
};

// How a value reads: "string" is REG_SZ only.
enum class RegDataKind { Unknown, String, ExpandString, Integer, Binary };

// The registry object: a root key, an access mask and at most one current key.
// A path with a leading backslash is taken from the root; one without is taken
// below the current key when one is open.
class Registry {
 public:
  explicit Registry(RegistryBackend& backend, RootKey root = RootKey::CurrentUser,
                    std::uint32_t accessMask = access::AllAccess);

  void SetRootKey(RootKey root) { root_ = root; }
  RootKey GetRootKey() const { return root_; }
  void SetAccess(std::uint32_t mask) { access_ = mask; }
  std::uint32_t Access() const { return access_; }
  RegView View() const { return ViewOfAccess(access_); }

  bool OpenKey(std::wstring_view path, bool canCreate = false);
  void CloseKey();
  bool HasCurrentKey() const { return current_ != nullptr; }
  const std::wstring& CurrentPath() const { return currentPath_; }  // no leading backslash

  bool KeyExists(std::wstring_view path);
  bool ValueExists(std::wstring_view name);
  std::vector<std::wstring> GetKeyNames();
  std::vector<std::wstring> GetValueNames();
  std::optional<RegKeyInfo> GetKeyInfo();
  RegDataKind GetDataType(std::wstring_view name);

  // REG_SZ / REG_EXPAND_SZ cut at the first NUL, not expanded; empty when missing.
  // Any other type raises Error "Invalid data type for '<name>'".
  std::wstring ReadString(std::wstring_view name);
  // REG_DWORD only; anything else (or a missing value) raises Error.
  std::int32_t ReadInteger(std::wstring_view name);
  std::optional<RegValue> ReadRaw(std::wstring_view name);
  // Reads a string only when the value is REG_SZ or REG_EXPAND_SZ; nullopt otherwise.
  std::optional<std::wstring> TryReadString(std::wstring_view name);

  bool DeleteKey(std::wstring_view path);
  bool DeleteValue(std::wstring_view name);
  bool WriteValue(std::wstring_view name, const RegValue& value);
  bool WriteString(std::wstring_view name, std::wstring_view text);
  bool WriteExpandString(std::wstring_view name, std::wstring_view text);
  bool WriteInteger(std::wstring_view name, std::uint32_t number);

 private:
  std::wstring Resolve(std::wstring_view path) const;

  RegistryBackend& backend_;
  RootKey root_;
  std::uint32_t access_;
  std::unique_ptr<RegistryBackend::OpenedKey> current_;
  std::wstring currentPath_;
};

// The path without its leading and trailing backslashes.
std::wstring_view TrimBackslashes(std::wstring_view path);

// String <-> registry bytes (UTF-16 LE, with the terminating NUL on encoding).
RegValue MakeStringValue(std::wstring_view text, std::uint32_t type = regtype::Sz);
RegValue MakeDwordValue(std::uint32_t number);
std::wstring StringFromRegData(const std::vector<std::uint8_t>& data);  // cut at the first NUL
// The first four bytes, little-endian; `data` must hold at least four.
std::uint32_t DwordFromRegData(const std::vector<std::uint8_t>& data);

}  // namespace qm
