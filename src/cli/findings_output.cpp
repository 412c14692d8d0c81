#include "cli/findings_output.h"

#include <cstdio>

#include "scan/findings_list.h"
#include "text/encoding.h"

namespace qm {

namespace {

std::string TsvField(std::wstring_view text) {
  std::string field = ToUtf8(text);
  for (char& c : field)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return field;
}

std::string JsonString(std::wstring_view text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string_view ViewText(RegView view) {
  switch (view) {
    case RegView::Bits64: return "64";
    case RegView::Bits32: return "32";
    case RegView::Default: break;
  }
  return "default";
}

std::string FormatTsv(const FindingsList& findings) {
  std::string out;
  for (const Finding& row : findings.Rows()) {
    for (FindingColumn column : {FindingColumn::Root, FindingColumn::KeyPath, FindingColumn::ValueName,
                                 FindingColumn::ValueData, FindingColumn::Category})
      out += TsvField(ColumnText(row, column)) + '\t';
    out += TsvField(ActionText(row.action)) + '\n';
  }
  return out;
}

std::string FormatJson(const FindingsList& findings) {
  std::string out = "[";
  for (const Finding& row : findings.Rows()) {
    out += out.size() > 1 ? ",\n  {" : "\n  {";
    out += "\"root\": " + JsonString(RootKeyText(row.root));
    out += ", \"key\": " + JsonString(row.keyPath);
    out += ", \"valueName\": " + JsonString(row.valueName);
    out += ", \"valueData\": " + JsonString(row.valueData);
    out += ", \"category\": " + JsonString(row.category);
    out += ", \"action\": " + JsonString(ActionText(row.action));
    out += ", \"view\": \"" + std::string(ViewText(row.view)) + "\"}";
  }
  return out + (findings.Empty() ? "]\n" : "\n]\n");
}

}  // namespace

std::string FormatFindings(const FindingsList& findings, OutputFormat format) {
  return format == OutputFormat::Json ? FormatJson(findings) : FormatTsv(findings);
}

}  // namespace qm
