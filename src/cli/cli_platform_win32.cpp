#ifdef _WIN32
#include "cli/cli_platform.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"

namespace qm {

namespace {

class Win32CliPlatform : public CliPlatform {
 public:
  const Platform& Get() const override { return platform_; }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Shell shell_;
  Win32Locale locale_;
  Win32Clock clock_;
  Platform platform_{registry_, files_, shell_, locale_, clock_};
};

}  // namespace

PlatformKind CliPlatformKind() { return PlatformKind::Windows; }

std::unique_ptr<CliPlatform> MakeCliPlatform(const ScanOptions&) { return std::make_unique<Win32CliPlatform>(); }

}  // namespace qm
#endif
