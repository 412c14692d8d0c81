#include "cli/cli_options.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "scan/scan_categories.h"
#include "text/encoding.h"
#include "text/case_mapping.h"

namespace qm {

namespace {

const ScanCategory& BuiltCategory(const std::wstring& name) {
  const ScanCategory* category = FindScanCategory(name);
  if (!category) throw UsageError(L"unknown category: " + name);
  if (!category->routine) throw UsageError(L"category not available yet: " + name);
  return *category;
}

OutputFormat ParseFormat(const std::wstring& text) {
  if (text == L"tsv") return OutputFormat::Tsv;
  if (text == L"json") return OutputFormat::Json;
  throw UsageError(L"unknown format (tsv or json): " + text);
}

// C=DIR, C=DIR:removable, C=DIR:cdrom or C=DIR:fixed.
DriveMapping ParseDrive(const std::wstring& text) {
  struct Suffix {
    std::wstring_view text;
    DriveType type;
  };
  constexpr std::array<Suffix, 3> kSuffixes{
      {{L":removable", DriveType::Removable}, {L":cdrom", DriveType::CdRom}, {L":fixed", DriveType::Fixed}}};
  const bool hasLetter = text.size() > 2 && text[1] == L'=' &&
                         ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z'));
  if (!hasLetter) throw UsageError(L"bad drive (LETTER=DIR[:removable|:cdrom|:fixed]): " + text);
  DriveMapping drive{AsciiUpper(text.substr(0, 1))[0], {}, DriveType::Fixed};
  std::wstring folder = text.substr(2);
  for (const Suffix& suffix : kSuffixes) {
    if (folder.size() > suffix.text.size() && folder.ends_with(suffix.text)) {
      folder.resize(folder.size() - suffix.text.size());
      drive.type = suffix.type;
      break;
    }
  }
  drive.folder = HostPath(folder);
  return drive;
}

// Takes the categories in run order, each once.
std::vector<const ScanCategory*> InRunOrder(const std::vector<const ScanCategory*>& named) {
  std::vector<const ScanCategory*> ordered;
  for (const ScanCategory& category : ScanCategories()) {
    const bool wanted = named.empty() ? category.routine != nullptr : std::ranges::count(named, &category) > 0;
    if (wanted) ordered.push_back(&category);
  }
  return ordered;
}

}  // namespace

std::filesystem::path HostPath(const std::wstring& text) {
  if constexpr (sizeof(wchar_t) == 2) return std::filesystem::path(text);
  else return std::filesystem::path(ToUtf8(text));
}

std::wstring HostPathText(const std::filesystem::path& path) {
  if constexpr (sizeof(wchar_t) == 2) return path.wstring();
  else return FromUtf8(path.string());
}

CliOptions ParseCommandLine(const std::vector<std::wstring>& args, PlatformKind platform) {
  if (args.empty()) throw UsageError(L"missing command (scan or fix)");
  CliOptions options;
  if (args[0] == L"fix") options.command = CliCommand::Fix;
  else if (args[0] != L"scan") throw UsageError(L"unknown command: " + args[0]);
  const bool fix = options.command == CliCommand::Fix;
  const bool substitute = platform == PlatformKind::Substitute;
  std::vector<const ScanCategory*> named;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::wstring& option = args[i];
    const bool known = option == L"--category" || option == L"--exclusions" || (!fix && option == L"--format") ||
                       (fix && option == L"--backup-dir") ||
                       (substitute && (option == L"--registry" || option == L"--drive"));
    if (!known) throw UsageError(L"unknown option: " + option);
    if (i + 1 == args.size()) throw UsageError(L"missing value after " + option);
    const std::wstring& value = args[++i];
    if (option == L"--category") named.push_back(&BuiltCategory(value));
    else if (option == L"--exclusions") options.exclusionsFile = HostPath(value);
    else if (option == L"--format") options.format = ParseFormat(value);
    else if (option == L"--backup-dir") options.backupFolder = HostPath(value);
    else if (option == L"--registry") options.registryFile = HostPath(value);
    else options.drives.push_back(ParseDrive(value));
  }
  if (fix && substitute && !options.backupFolder) throw UsageError(L"fix needs --backup-dir DIR here");
  const bool hostDriveTaken = std::ranges::any_of(
      options.drives, [](const DriveMapping& drive) { return drive.letter == kSubstituteHostDrive; });
  if (fix && hostDriveTaken) throw UsageError(L"fix keeps drive Z: for the backup folder");
  options.categories = InRunOrder(named);
  return options;
}

}  // namespace qm
