#pragma once
// The platform quillmere-cli scans: on Windows the real registry and drives, elsewhere
// the substitute registry loaded from a .reg file and drives mapped onto folders.
#include <memory>

#include "cli/cli_options.h"

namespace qm {

struct Platform;

class CliPlatform {
 public:
  virtual ~CliPlatform() = default;
  virtual const Platform& Get() const = 0;
};

PlatformKind CliPlatformKind();
// Raises Error when the registry file cannot be loaded or a drive folder is missing.
std::unique_ptr<CliPlatform> MakeCliPlatform(const ScanOptions& options);

}  // namespace qm
