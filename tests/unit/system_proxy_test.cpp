#include <gtest/gtest.h>

#include "../common/system_proxy_cases.h"
#include "platform/substitute/substitute_registry.h"

namespace qm {

using namespace qm::testing;

TEST(SystemProxy, ReadsTheUsersInternetSettings) {
  SubstituteRegistry registry;
  EXPECT_TRUE(GetSystemProxy(registry) == SystemProxy{}) << "no Internet Settings key";
  auto key = registry.Create(RootKey::CurrentUser, kInternetSettingsPath, access::AllAccess);
  ASSERT_TRUE(key);
  for (const auto& c : SystemProxyCases()) {
    SystemProxy proxy = ProxyFor(registry, *key, c);
    EXPECT_TRUE(proxy == c.expected) << c.what << ": " << proxy.server << ":" << proxy.port;
    EXPECT_EQ(proxy.InUse(), c.expected.found && c.expected.enabled) << c.what;
  }
}

}  // namespace qm
