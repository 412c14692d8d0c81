#ifndef _WIN32
#include <algorithm>
#include <system_error>

#include "cli/cli_platform.h"
#include "platform/error.h"
#include "platform/platform.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "platform/substitute/substitute_registry.h"
#include "platform/substitute/substitute_shell.h"

namespace qm {

namespace {

class SubstituteCliPlatform : public CliPlatform {
 public:
  explicit SubstituteCliPlatform(const CliOptions& options) {
    if (options.registryFile) registry_.LoadRegFile(*options.registryFile, locale_);
    for (const DriveMapping& drive : options.drives) {
      std::error_code error;
      if (!std::filesystem::is_directory(drive.folder, error))
        throw Error(L"drive folder not found: " + HostPathText(drive.folder));
      files_.MapDrive(drive.letter, drive.folder, drive.type);
    }
    if (options.backupFolder) {
      files_.MapDrive(kSubstituteHostDrive, std::filesystem::path("/"));
      backupFolder_ = HostFolderOnDriveZ(*options.backupFolder);
    }
  }
  const Platform& Get() const override { return platform_; }
  std::wstring BackupFolder() override { return backupFolder_; }
  std::wstring ShownPath(const std::wstring& path) override {
    const auto host = files_.HostPath(path);
    return host ? HostPathText(*host) : path;
  }

 private:
  // "/tmp/x" as "Z:\tmp\x".
  static std::wstring HostFolderOnDriveZ(const std::filesystem::path& folder) {
    std::wstring text = HostPathText(std::filesystem::absolute(folder));
    std::ranges::replace(text, L'/', L'\\');
    return std::wstring(1, kSubstituteHostDrive) + L":" + text;
  }

  std::wstring backupFolder_;
  SubstituteRegistry registry_;
  SubstituteFileSystem files_;
  SubstituteShell shell_;
  SubstituteLocale locale_;
  FixedClock clock_;
  Platform platform_{registry_, files_, shell_, locale_, clock_};
};

}  // namespace

PlatformKind CliPlatformKind() { return PlatformKind::Substitute; }

std::unique_ptr<CliPlatform> MakeCliPlatform(const CliOptions& options) {
  return std::make_unique<SubstituteCliPlatform>(options);
}

}  // namespace qm
#endif
