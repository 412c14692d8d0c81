#include <windows.h>
#include <gtest/gtest.h>

#include "../common/system_proxy_cases.h"
#include "platform/win32/win32_registry.h"

namespace qm {

using namespace qm::testing;

namespace {

// Puts the user's proxy values back as they were, however the test ends.
class SavedProxyValues {
 public:
  SavedProxyValues(Win32Registry& registry, RegistryBackend::OpenedKey& key) : registry_(registry), key_(key) {
    for (auto name : kNames) saved_.push_back(registry.Query(key, name));
  }
  ~SavedProxyValues() {
    for (size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i]) registry_.SetValue(key_, kNames[i], *saved_[i]);
      else registry_.DeleteValue(key_, kNames[i]);
    }
  }

 private:
  static constexpr const wchar_t* kNames[] = {L"ProxyEnable", L"ProxyServer"};
  Win32Registry& registry_;
  RegistryBackend::OpenedKey& key_;
  std::vector<std::optional<RegValue>> saved_;
};

}  // namespace

TEST(SystemProxy, ReadsTheUsersInternetSettingsFromTheRegistry) {
  Win32Registry registry;
  auto key = registry.Create(RootKey::CurrentUser, kInternetSettingsPath, access::AllAccess);
  ASSERT_TRUE(key);
  SavedProxyValues restore(registry, *key);
  for (const auto& c : SystemProxyCases()) {
    SystemProxy proxy = ProxyFor(registry, *key, c);
    EXPECT_TRUE(proxy == c.expected) << c.what << ": " << proxy.server << ":" << proxy.port;
  }
}

}  // namespace qm
