#include "imported_fixtures.h"

#include "cli_run.h"
#include "platform/win32/win32_locale.h"
#include "text/encoding.h"

namespace qm::testing {

ImportedRegistryFixture::ImportedRegistryFixture(const std::filesystem::path& regFile) {
  const std::string text = ReadFileText(regFile);
  Win32Locale locale;
  for (const RegFileKey& key : ParseRegFile(Bytes(text.begin(), text.end()), locale).keys) Record(key);
  imported_ = ImportWithRegedit(regFile) == 0;
}

ImportedRegistryFixture::~ImportedRegistryFixture() {
  for (const auto& [root, path, name] : addedValues_) {
    Registry registry = Open(root);
    if (registry.OpenKey(L"\\" + path)) registry.DeleteValue(name);
  }
  for (const auto& [root, path] : createdKeys_) Open(root).DeleteKey(L"\\" + path);
}

void ImportedRegistryFixture::Record(const RegFileKey& key) {
  Registry registry = Open(key.root);
  for (size_t end = 0; end != std::wstring::npos;) {
    end = key.path.find(L'\\', end + 1);
    const std::wstring path = key.path.substr(0, end);
    if (!registry.KeyExists(L"\\" + path)) {
      createdKeys_.emplace(key.root, path);
      return;
    }
  }
  for (const RegFileValue& value : key.values) addedValues_.emplace(key.root, key.path, value.name);
}

CopiedDriveFixture::CopiedDriveFixture(const std::filesystem::path& folder) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    std::filesystem::path target = L"C:\\";
    for (const auto& name : std::filesystem::relative(entry.path(), folder)) {
      target /= name;
      if (!std::filesystem::exists(target)) {
        created_.insert(target);
        break;
      }
    }
  }
  std::filesystem::copy(folder, L"C:\\", std::filesystem::copy_options::recursive);
}

CopiedDriveFixture::~CopiedDriveFixture() {
  std::error_code ignored;
  for (const auto& path : created_) std::filesystem::remove_all(path, ignored);
}

}  // namespace qm::testing
