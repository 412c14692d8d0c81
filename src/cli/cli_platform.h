#pragma once
// The platform quillmere-cli scans: on Windows the real registry and drives, elsewhere
// the substitute registry loaded from a .reg file and drives mapped onto folders, with
// Z: standing for the host's root folder when a backup folder is given.
#include <memory>
#include <string>

#include "cli/cli_options.h"

namespace qm {

struct Platform;

class CliPlatform {
 public:
  virtual ~CliPlatform() = default;
  virtual const Platform& Get() const = 0;
  // Where fix writes its backup, as the platform names folders: --backup-dir, or on
  // Windows the folder "backup" beside quillmere-cli.
  virtual std::wstring BackupFolder() = 0;
  // A file of the platform as the user of the console knows it.
  virtual std::wstring ShownPath(const std::wstring& path) = 0;
};

PlatformKind CliPlatformKind();
// Raises Error when the registry file cannot be loaded or a drive folder is missing.
std::unique_ptr<CliPlatform> MakeCliPlatform(const CliOptions& options);

}  // namespace qm
