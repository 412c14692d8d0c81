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

int Scan(const ScanOptions& options) {
  const auto platform = MakeCliPlatform(options);
  ExclusionList exclusions;
  if (options.exclusionsFile) LoadExclusionFile(*options.exclusionsFile, platform->Get().locale, exclusions);
  FindingsList findings;
  ConsoleScanHost host(options.categories, StderrIsTerminal());
  Scanner scanner(platform->Get(), host, findings, exclusions);
  scanner.StartSearch();
  if (host.Failure()) throw Error(*host.Failure());
  WriteStdout(FormatFindings(findings, options.format));
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
    return Scan(ParseCommandLine(args, CliPlatformKind()));
  } catch (const UsageError& error) {
    return Fail(error.Message(), 2);
  } catch (const Error& error) {
    return Fail(error.Message(), 1);
  } catch (const std::exception& error) {
    return Fail(FromUtf8(error.what()), 1);
  }
}

}  // namespace qm
