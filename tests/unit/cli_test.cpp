// quillmere-cli run as a program over the fixture registry and drive.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "scan/scan_categories.h"
#include "scan_test_support.h"
#include "text/encoding.h"

namespace qm::testing {

namespace {

const std::string kFixtures = QM_FIXTURES;

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

CliResult RunCli(const std::vector<std::string>& args) {
  TempFolder folder;
  const auto errFile = folder.path() / "stderr";
  std::string command = Quoted(QM_CLI);
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " 2>" + Quoted(errFile.string());
  CliResult result;
  FILE* pipe = popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) result.out.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.err = ReadWhole(errFile);
  return result;
}

std::vector<std::string> SortedLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  std::ranges::sort(lines);
  return lines;
}

std::vector<std::string> FixtureScan(std::vector<std::string> extra) {
  std::vector<std::string> args{"scan", "--registry", kFixtures + "/cli_scan.reg", "--drive",
                                "C=" + kFixtures + "/cli_drive_c"};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

TEST(CliScan, FindsExactlyTheBrokenFixtureEntries) {
  const CliResult result = RunCli(FixtureScan({"--exclusions", kFixtures + "/cli_exclusions.ini"}));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");  // no progress line: stderr is not a terminal
  EXPECT_EQ(SortedLines(result.out), SortedLines(ReadWhole(kFixtures + "/cli_scan_expected.tsv")));
}

TEST(CliScan, WithoutExclusionsTheExcludedEntriesShowToo) {
  const CliResult result = RunCli(FixtureScan({}));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(SortedLines(result.out).size(), 6u);
  EXPECT_NE(result.out.find("App Paths\\QuillmereFixtureExcluded.exe\\\t\tc:\\quillmerefixture\\excluded\\x.exe"),
            std::string::npos);
  EXPECT_NE(result.out.find("SharedDLLs\\\tC:\\QuillmereFixture\\Excluded\\lib.dll\t"), std::string::npos);
}

TEST(CliScan, JsonOfOneCategory) {
  const CliResult result = RunCli(FixtureScan({"--category", "checkboxshareddlls", "--format", "json",
                                               "--exclusions", kFixtures + "/cli_exclusions.ini"}));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "[\n  {\"root\": \"HKEY_LOCAL_MACHINE\", "
            "\"key\": \"\\\\SOFTWARE\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\SharedDLLs\\\\\", "
            "\"valueName\": \"C:\\\\QuillmereFixture\\\\gone.dll\", \"valueData\": \"\", "
            "\"category\": \"Общие библиотеки\", \"action\": \"DelVal\", \"view\": \"64\"}\n]\n");
}

TEST(CliScan, UsageErrorsNameTheBadArgumentOnOneLine) {
  struct Case {
    std::vector<std::string> args;
    std::string named;
  };
  std::vector<Case> cases = {
      {{}, "scan"},
      {{"frobnicate"}, "frobnicate"},
      {{"scan", "--bogus"}, "--bogus"},
      {{"scan", "--format", "xml"}, "xml"},
      {{"scan", "--category", "CheckBoxNowhere"}, "CheckBoxNowhere"},
      {{"scan", "--category"}, "--category"},
      {{"scan", "--drive", "C"}, "C"},
      {{"scan", "--drive", "CC=/tmp"}, "CC=/tmp"},
  };
  // A category that is not built yet, while there is one.
  const auto categories = ScanCategories();
  auto unbuilt = std::ranges::find_if(categories, [](const ScanCategory& category) { return !category.routine; });
  if (unbuilt != categories.end()) {
    const std::string name = ToUtf8(unbuilt->checkBoxName);
    cases.push_back({{"scan", "--category", name}, name});
  }
  for (const Case& c : cases) {
    const CliResult result = RunCli(c.args);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    EXPECT_EQ(std::ranges::count(result.err, '\n'), 1) << result.err;
  }
}

TEST(CliScan, OtherErrorsExitWithOne) {
  for (const auto& args : {std::vector<std::string>{"scan", "--registry", kFixtures + "/no-such.reg"},
                           std::vector<std::string>{"scan", "--drive", "C=" + kFixtures + "/no-such-folder"},
                           FixtureScan({"--exclusions", kFixtures + "/no-such.ini"})}) {
    const CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::ranges::count(result.err, '\n'), 1) << result.err;
  }
}

}  // namespace

}  // namespace qm::testing
