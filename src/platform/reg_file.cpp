#include "platform/reg_file.h"

#include "platform/error.h"
#include "text/case_mapping.h"
#include "platform/locale.h"

namespace qm {

namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";
// The registry editor ends a hex-list line with ",\" once the line has reached this
// many characters, and goes on after two blanks on the next line.
constexpr size_t kHexWrapColumn = 77;
constexpr std::wstring_view kHexContinuation = L"\\\r\n  ";
constexpr size_t kHexContinuationIndent = 2;

// ---------------------------------------------------------------- writing

std::wstring EscapeQuoted(std::wstring_view text) {
  std::wstring out = L"\"";
  for (wchar_t ch : text) {
    switch (ch) {
      case L'\\': out += L"\\\\"; break;
      case L'"': out += L"\\\""; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      default: out += ch;
    }
  }
  return out + L"\"";
}

std::wstring EntryLead(std::wstring_view name) { return (name.empty() ? L"@" : EscapeQuoted(name)) + L"="; }

std::wstring LowerHex(std::uint32_t number, size_t minDigits) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), L"0123456789abcdef"[number & 0xF]);
    number >>= 4;
  } while (number != 0);
  if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  return digits;
}

// REG_SZ data that reads back unchanged from a quoted string: whole UTF-16 units with
// one terminating NUL and no NUL before it. Anything else is written as hex(1) so that
// nothing is lost; so is a value without data, which a quoted "" would give back as a NUL.
bool IsPlainStringData(const Bytes& data) {
  if (data.empty() || data.size() % 2 != 0) return false;
  const size_t units = data.size() / 2;
  for (size_t i = 0; i < units; ++i) {
    const bool nul = data[2 * i] == 0 && data[2 * i + 1] == 0;
    if (nul != (i + 1 == units)) return false;
  }
  return true;
}

std::wstring HexTypeTag(std::uint32_t type) {
  return type == regtype::Binary ? std::wstring(L"hex:") : L"hex(" + LowerHex(type, 1) + L"):";
}

// "hex(N):xx,xx,..." starting at `column` of its line.
std::wstring FormatHexList(std::uint32_t type, const Bytes& data, size_t column) {
  std::wstring out = HexTypeTag(type);
  column += out.size();
  for (size_t i = 0; i < data.size(); ++i) {
    out += LowerHex(data[i], 2);
    if (i + 1 == data.size()) break;
    out += L',';
    column += 3;
    if (column >= kHexWrapColumn) {
      out += kHexContinuation;
      column = kHexContinuationIndent;
    }
  }
  return out;
}

std::wstring FormatData(const RegValue& value, size_t column) {
  if (value.type == regtype::Sz && IsPlainStringData(value.data)) return EscapeQuoted(StringFromRegData(value.data));
  if (value.type == regtype::Dword && value.data.size() == 4) return L"dword:" + LowerHex(DwordFromRegData(value.data), 8);
  return FormatHexList(value.type, value.data, column);
}

// ---------------------------------------------------------------- reading

struct SourceLine {
  size_t number;  // of the first physical line
  std::wstring text;
};

bool IsBlank(wchar_t ch) { return ch == L' ' || ch == L'\t'; }

std::wstring_view TrimLeft(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::wstring_view TrimRight(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::wstring_view Trim(std::wstring_view text) { return TrimRight(TrimLeft(text)); }

// Physical lines, split at CR LF, LF or a lone CR.
std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
  std::vector<std::wstring_view> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'\r' && text[i] != L'\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

bool IsValueLine(std::wstring_view line) {
  line = TrimLeft(line);
  return !line.empty() && (line.front() == L'"' || line.front() == L'@');
}

// A value line ending in a backslash goes on in the next line, whose leading blanks
// are dropped.
std::vector<SourceLine> LogicalLines(std::wstring_view text) {
  std::vector<SourceLine> lines;
  bool continuing = false;
  size_t number = 0;
  for (std::wstring_view raw : SplitLines(text)) {
    ++number;
    if (continuing)
      lines.back().text += TrimLeft(raw);
    else
      lines.push_back({number, std::wstring(raw)});
    std::wstring& line = lines.back().text;
    const std::wstring_view trimmed = TrimRight(line);
    continuing = IsValueLine(line) && !trimmed.empty() && trimmed.back() == L'\\';
    if (continuing) line.resize(trimmed.size() - 1);
  }
  return lines;
}

[[noreturn]] void FailAt(size_t lineNumber, std::wstring_view reason) {
  throw Error(L"Malformed registry file, line " + std::to_wstring(lineNumber) + L": " + std::wstring(reason));
}

std::optional<std::uint32_t> ParseHex(std::wstring_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
  std::uint32_t number = 0;
  for (wchar_t ch : digits) {
    std::uint32_t digit;
    if (ch >= L'0' && ch <= L'9') digit = ch - L'0';
    else if (ch >= L'a' && ch <= L'f') digit = ch - L'a' + 10;
    else if (ch >= L'A' && ch <= L'F') digit = ch - L'A' + 10;
    else return std::nullopt;
    number = number << 4 | digit;
  }
  return number;
}


// Reads one logical line from left to right.
class LineCursor {
 public:
  explicit LineCursor(const SourceLine& line) : number_(line.number), rest_(line.text) {}

  [[noreturn]] void Fail(std::wstring_view reason) const { FailAt(number_, reason); }

  void SkipBlanks() { rest_ = TrimLeft(rest_); }
  // Only blanks or a comment left.
  bool AtEnd() const {
    const std::wstring_view rest = TrimLeft(rest_);
    return rest.empty() || rest.front() == L';';
  }
  void ExpectEnd() const {
    if (!AtEnd()) Fail(L"unexpected text \"" + std::wstring(Trim(rest_)) + L"\"");
  }
  bool Peek(wchar_t ch) const { return !rest_.empty() && rest_.front() == ch; }
  bool Take(wchar_t ch) {
    if (!Peek(ch)) return false;
    rest_.remove_prefix(1);
    return true;
  }
  bool TakeWord(std::wstring_view word) {
    if (rest_.size() < word.size() || !EqualsAsciiNoCase(rest_.substr(0, word.size()), word)) return false;
    rest_.remove_prefix(word.size());
    return true;
  }
  // The text up to `stop` (not taken) or to the end of the line.
  std::wstring_view TakeUntil(wchar_t stop) {
    const std::wstring_view taken = rest_.substr(0, rest_.find(stop));
    rest_.remove_prefix(taken.size());
    return taken;
  }
  // A quoted string with its escapes resolved; the cursor stands on the opening quote.
  std::wstring TakeQuoted() {
    Take(L'"');
    std::wstring text;
    while (!rest_.empty()) {
      const wchar_t ch = rest_.front();
      rest_.remove_prefix(1);
      if (ch == L'"') return text;
      if (ch != L'\\') {
        text += ch;
      } else if (!rest_.empty()) {
        text += Unescape(rest_.front());
        rest_.remove_prefix(1);
      }
    }
    Fail(L"missing closing quote");
  }

 private:
  wchar_t Unescape(wchar_t ch) const {
    switch (ch) {
      case L'\\': return L'\\';
      case L'"': return L'"';
      case L'n': return L'\n';
      case L'r': return L'\r';
      default: Fail(L"unknown escape sequence \"\\" + std::wstring(1, ch) + L"\"");
    }
  }

  size_t number_;
  std::wstring_view rest_;
};

RegFileFormat ParseSignature(const SourceLine& line) {
  const std::wstring_view text = Trim(line.text);
  if (text == kRegFileSignature) return RegFileFormat::Version5;
  if (text == kRegedit4Signature) return RegFileFormat::Regedit4;
  FailAt(line.number, L"the first line must be \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"");
}

// "[HKEY_...\path]" or "[-HKEY_...\path]".
RegFileKey ParseKeyHeader(const LineCursor& cursor, std::wstring_view text) {
  text = Trim(text);
  const size_t close = text.rfind(L']');
  if (close == std::wstring_view::npos) cursor.Fail(L"missing ']' after the key name");
  if (!Trim(text.substr(close + 1)).empty()) cursor.Fail(L"unexpected text after the key name");
  std::wstring_view inner = text.substr(1, close - 1);
  RegFileKey key;
  key.deleted = !inner.empty() && inner.front() == L'-';
  if (key.deleted) inner.remove_prefix(1);
  const std::wstring_view rootText = inner.substr(0, inner.find(L'\\'));
  const auto root = RootKeyFromText(rootText);
  if (!root) cursor.Fail(L"unknown root key \"" + std::wstring(rootText) + L"\"");
  key.root = *root;
  key.path = TrimBackslashes(inner.substr(rootText.size()));
  if (key.deleted && key.path.empty()) cursor.Fail(L"a root key cannot be deleted");
  return key;
}

// The bytes of a comma-separated hex list (the rest of the line, up to a comment).
Bytes ParseHexBytes(LineCursor& cursor) {
  const std::wstring_view list = Trim(cursor.TakeUntil(L';'));
  Bytes bytes;
  if (list.empty()) return bytes;
  size_t start = 0;
  while (true) {
    const size_t comma = list.find(L',', start);
    const auto byte = ParseHex(Trim(list.substr(start, comma - start)), 2);
    if (!byte) cursor.Fail(L"invalid hex byte list");
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::wstring_view::npos) return bytes;
    start = comma + 1;
  }
}

// ANSI string data (NUL-separated pieces) as UTF-16 LE registry data.
Bytes AnsiToUtf16Data(const Bytes& ansi, Locale& locale) {
  Bytes data;
  size_t start = 0;
  for (size_t i = 0; i <= ansi.size(); ++i) {
    if (i < ansi.size() && ansi[i] != 0) continue;
    AppendUtf16Le(locale.FromAnsi(Bytes(ansi.begin() + start, ansi.begin() + i)), data);
    if (i < ansi.size()) data.insert(data.end(), {0, 0});
    start = i + 1;
  }
  return data;
}

// After "hex": an optional "(type)", the colon and the byte list.
RegValue ParseHexData(LineCursor& cursor, RegFileFormat format, Locale& locale) {
  RegValue value{regtype::Binary, {}};
  if (cursor.Take(L'(')) {
    const auto type = ParseHex(cursor.TakeUntil(L')'), 8);
    if (!type || !cursor.Take(L')')) cursor.Fail(L"invalid value type in hex(...)");
    value.type = *type;
  }
  if (!cursor.Take(L':')) cursor.Fail(L"expected ':' after hex");
  value.data = ParseHexBytes(cursor);
  const bool ansiString = value.type == regtype::ExpandSz || value.type == regtype::MultiSz;
  if (format == RegFileFormat::Regedit4 && ansiString) value.data = AnsiToUtf16Data(value.data, locale);
  return value;
}

RegValue ParseDwordData(LineCursor& cursor) {
  cursor.SkipBlanks();
  const auto number = ParseHex(TrimRight(cursor.TakeUntil(L';')), 8);
  if (!number) cursor.Fail(L"invalid dword value, expected up to 8 hex digits");
  return MakeDwordValue(*number);
}

RegValue ParseValueData(LineCursor& cursor, RegFileFormat format, Locale& locale) {
  if (cursor.Peek(L'"')) return MakeStringValue(cursor.TakeQuoted());
  if (cursor.TakeWord(L"dword:")) return ParseDwordData(cursor);
  if (cursor.TakeWord(L"hex")) return ParseHexData(cursor, format, locale);
  cursor.Fail(L"unknown kind of value data");
}

// The data after '=': a value, or none for a deletion ("-").
std::optional<RegValue> ParseData(LineCursor& cursor, RegFileFormat format, Locale& locale) {
  std::optional<RegValue> value;
  if (!cursor.Take(L'-')) value = ParseValueData(cursor, format, locale);
  cursor.ExpectEnd();
  return value;
}

RegFileValue ParseValueEntry(LineCursor& cursor, RegFileFormat format, Locale& locale) {
  RegFileValue entry;
  if (!cursor.Take(L'@')) entry.name = cursor.TakeQuoted();
  cursor.SkipBlanks();
  if (!cursor.Take(L'=')) cursor.Fail(L"expected '=' after the value name");
  cursor.SkipBlanks();
  entry.value = ParseData(cursor, format, locale);
  return entry;
}

void ParseLine(const SourceLine& line, RegFile& file, Locale& locale) {
  LineCursor cursor(line);
  cursor.SkipBlanks();
  if (cursor.AtEnd()) return;
  if (cursor.Peek(L'[')) {
    file.keys.push_back(ParseKeyHeader(cursor, line.text));
    return;
  }
  if (!cursor.Peek(L'"') && !cursor.Peek(L'@')) cursor.Fail(L"expected a key in brackets or a value");
  if (file.keys.empty()) cursor.Fail(L"a value before the first key");
  if (file.keys.back().deleted) cursor.Fail(L"a value under a deleted key");
  file.keys.back().values.push_back(ParseValueEntry(cursor, file.format, locale));
}

}  // namespace

RegFile ParseRegText(std::wstring_view text, Locale& locale) {
  const std::vector<SourceLine> lines = LogicalLines(text);
  if (lines.empty()) FailAt(1, L"the file is empty");
  RegFile file;
  file.format = ParseSignature(lines.front());
  for (size_t i = 1; i < lines.size(); ++i) ParseLine(lines[i], file, locale);
  return file;
}

RegFile ParseRegFile(const Bytes& bytes, Locale& locale) { return ParseRegText(DecodeText(bytes, locale).text, locale); }

std::wstring RegKeyFullPath(RootKey root, std::wstring_view path) {
  std::wstring full = RootKeyText(root);
  if (!path.empty()) full += L"\\" + std::wstring(path);
  return full;
}

std::wstring FormatRegFileHeader() { return std::wstring(kRegFileSignature) + L"\r\n\r\n"; }

std::wstring FormatRegValue(std::wstring_view name, const RegValue& value) {
  // Line widths are counted as the registry editor counts them, in UTF-16 units.
  const std::wstring lead = EntryLead(name);
  return lead + FormatData(value, Utf16Length(lead)) + std::wstring(kLineEnd);
}

std::wstring FormatDeletedValue(std::wstring_view name) { return EntryLead(name) + L"-\r\n"; }

std::wstring FormatRegKeyBlock(std::wstring_view fullKeyPath, std::span<const RegFileValue> values) {
  std::wstring block = L"[" + std::wstring(fullKeyPath) + L"]\r\n";
  for (const RegFileValue& entry : values)
    block += entry.value ? FormatRegValue(entry.name, *entry.value) : FormatDeletedValue(entry.name);
  return block + std::wstring(kLineEnd);
}

std::wstring FormatDeletedKey(std::wstring_view fullKeyPath) {
  return L"[-" + std::wstring(fullKeyPath) + L"]\r\n\r\n";
}

std::wstring FormatRegText(const RegFile& file) {
  std::wstring text = FormatRegFileHeader();
  for (const RegFileKey& key : file.keys) {
    const std::wstring fullPath = RegKeyFullPath(key.root, key.path);
    text += key.deleted ? FormatDeletedKey(fullPath) : FormatRegKeyBlock(fullPath, key.values);
  }
  return text;
}

Bytes EncodeRegFileText(std::wstring_view text) {
  Bytes bytes{0xFF, 0xFE};
  AppendUtf16Le(text, bytes);
  return bytes;
}

}  // namespace qm
