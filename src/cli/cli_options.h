#pragma once
// The command line of quillmere-cli.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace qm {

struct ScanCategory;

enum class OutputFormat { Tsv, Json };

// scan: print the findings. fix: scan, write the backup and delete every finding.
enum class CliCommand { Scan, Fix };

// A drive letter shown by a host folder (substitute platform only).
struct DriveMapping {
  wchar_t letter = L'C';
  std::filesystem::path folder;
  DriveType type = DriveType::Fixed;
};

struct CliOptions {
  CliCommand command = CliCommand::Scan;
  std::vector<const ScanCategory*> categories;  // in run order; all built ones when none named
  std::optional<std::filesystem::path> exclusionsFile;
  OutputFormat format = OutputFormat::Tsv;            // scan only
  std::optional<std::filesystem::path> backupFolder;  // fix only; needed on the substitute platform
  std::optional<std::filesystem::path> registryFile;  // substitute platform only
  std::vector<DriveMapping> drives;                   // substitute platform only
};

// A wrong command line; the message is one line that names the bad argument.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(std::wstring message) : std::runtime_error("usage error"), message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }

 private:
  std::wstring message_;
};

// Whether the options that feed the substitute platform (--registry, --drive) exist.
// There the drive Z: stands for the host's root folder when fix writes its backup.
enum class PlatformKind { Substitute, Windows };
inline constexpr wchar_t kSubstituteHostDrive = L'Z';

// The arguments after the program name. Raises UsageError.
CliOptions ParseCommandLine(const std::vector<std::wstring>& args, PlatformKind platform);

// A command-line text as a path of the host, and back.
std::filesystem::path HostPath(const std::wstring& text);
std::wstring HostPathText(const std::filesystem::path& path);

}  // namespace qm
