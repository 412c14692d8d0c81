#pragma once
// The findings as quillmere-cli prints them.
#include <string>

#include "cli/cli_options.h"

namespace qm {

class FindingsList;

// TSV: one line per finding with root key, key path, value name, value data,
// category and action separated by tabs; a tab or line break inside a field
// becomes a blank. JSON: an array of objects with those six fields and the view.
std::string FormatFindings(const FindingsList& findings, OutputFormat format);

}  // namespace qm
