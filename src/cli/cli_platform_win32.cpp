#ifdef _WIN32
#include <filesystem>
#include <optional>

#include "cli/cli_platform.h"
#include "platform/platform.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "repair/backup.h"

namespace qm {

namespace {

class Win32CliPlatform : public CliPlatform {
 public:
  explicit Win32CliPlatform(const CliOptions& options) : backupFolder_(options.backupFolder) {}
  const Platform& Get() const override { return platform_; }
  std::wstring BackupFolder() override {
    return backupFolder_ ? std::filesystem::absolute(*backupFolder_).wstring() : qm::BackupFolder(shell_);
  }
  std::wstring ShownPath(const std::wstring& path) override { return path; }

 private:
  std::optional<std::filesystem::path> backupFolder_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32Shell shell_;
  Win32Locale locale_;
  Win32Clock clock_;
  Platform platform_{registry_, files_, shell_, locale_, clock_};
};

}  // namespace

PlatformKind CliPlatformKind() { return PlatformKind::Windows; }

std::unique_ptr<CliPlatform> MakeCliPlatform(const CliOptions& options) {
  return std::make_unique<Win32CliPlatform>(options);
}

}  // namespace qm
#endif
