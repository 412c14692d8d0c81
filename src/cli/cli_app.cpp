#include "cli/cli_app.h"

#include <exception>
#include <fstream>
#include <iterator>

#include "cli/cli_options.h"
#include "cli/cli_platform.h"
#include "cli/console.h"
#include "cli/console_scan_host.h"
#include "cli/findings_output.h"
#include "exclusions/exclusion_file.h"
#include "exclusions/exclusion_list.h"
#include "platform/error.h"
#include "platform/platform.h"
#include "repair/repair.h"
#include "scan/findings_list.h"
#include "scan/scanner.h"
#include "text/encoding.h"
#include "text/ini_file.h"

namespace qm {

namespace {

constexpr std::wstring_view kProgramName = L"quillmere-cli: ";

// The rows of an exclusion file of the host, decoded by its byte-order mark or
// in the ANSI code page.
void LoadExclusionFile(const std::filesystem::path& path, Locale& locale, ExclusionList& exclusions) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error(L"cannot read the exclusion file " + HostPathText(path));
  const Bytes bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  AppendExclusions(IniFile::Parse(DecodeText(bytes, locale).text), exclusions);
}

// Scans the categories of the options into `findings`.
void ScanInto(const CliOptions& options, const Platform& platform, ConsoleScanHost& host, FindingsList& findings) {
  ExclusionList exclusions;
  if (options.exclusionsFile) LoadExclusionFile(*options.exclusionsFile, platform.locale, exclusions);
  Scanner scanner(platform, host, findings, exclusions);
  scanner.StartSearch();
  if (host.Failure()) throw Error(*host.Failure());
}

int Scan(const CliOptions& options) {
  const auto platform = MakeCliPlatform(options);
  FindingsList findings;
  ConsoleScanHost host(options.categories, StderrIsTerminal());
  ScanInto(options, platform->Get(), host, findings);
  WriteStdout(FormatFindings(findings, options.format));
  return 0;
}

int Fix(const CliOptions& options) {
  const auto platform = MakeCliPlatform(options);
  FindingsList findings;
  ConsoleScanHost host(options.categories, StderrIsTerminal());
  ScanInto(options, platform->Get(), host, findings);
  const RepairResult result = Repair(platform->Get(), host, findings, platform->BackupFolder());
  WriteStdout(ToUtf8(L"backup: " + platform->ShownPath(result.backupFile) + L"\ndeleted keys: " +
                     std::to_wstring(result.deletedKeys) + L"\ndeleted values: " +
                     std::to_wstring(result.deletedValues) + L"\n"));
  return 0;
}

int Fail(std::wstring_view message, int status) {
  WriteStderr(std::wstring(kProgramName) + std::wstring(message) + L"\n");
  return status;
}

}  // namespace

int RunCli(const std::vector<std::wstring>& args) {
  PrepareConsole();
  try {
    const CliOptions options = ParseCommandLine(args, CliPlatformKind());
    return options.command == CliCommand::Fix ? Fix(options) : Scan(options);
  } catch (const UsageError& error) {
    return Fail(error.Message(), 2);
  } catch (const Error& error) {
    return Fail(error.Message(), 1);
  } catch (const std::exception& error) {
    return Fail(FromUtf8(error.what()), 1);
  }
}

}  // namespace qm
