#include "text/encoding.h"

#include "platform/locale.h"

namespace qm {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendCodePoint(char32_t code, std::wstring& out) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (code > 0xFFFF) {
      code -= 0x10000;
      out.push_back(static_cast<wchar_t>(0xD800 + (code >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + (code & 0x3FF)));
      return;
    }
  }
  out.push_back(static_cast<wchar_t>(code));
}

// Calls `emit` with each UTF-16 code unit of the text.
template <typename Emit>
void ForEachUtf16Unit(std::wstring_view text, Emit emit) {
  for (wchar_t ch : text) {
    auto code = static_cast<std::uint32_t>(ch);
    if (code > 0xFFFF) {
      code -= 0x10000;
      emit(static_cast<std::uint16_t>(0xD800 + (code >> 10)));
      emit(static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      emit(static_cast<std::uint16_t>(code));
    }
  }
}

// Calls `emit` with each code point of the text (pairs joined on Windows).
template <typename Emit>
void ForEachCodePoint(std::wstring_view text, Emit emit) {
  for (size_t i = 0; i < text.size(); ++i) {
    auto code = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
      auto low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    emit(code);
  }
}

std::wstring FromUtf16(const std::uint8_t* data, size_t byteCount, bool bigEndian) {
  std::wstring text;
  text.reserve(byteCount / 2);
  auto unitAt = [&](size_t i) -> char32_t {
    return bigEndian ? (data[i] << 8) | data[i + 1] : data[i] | (data[i + 1] << 8);
  };
  for (size_t i = 0; i + 1 < byteCount; i += 2) {
    char32_t unit = unitAt(i);
    if (sizeof(wchar_t) == 4 && unit >= 0xD800 && unit < 0xDC00 && i + 3 < byteCount) {
      char32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        text.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
        i += 2;
        continue;
      }
    }
    text.push_back(static_cast<wchar_t>(unit));
  }
  return text;
}

void AppendUtf16(std::wstring_view text, Bytes& out, bool bigEndian) {
  out.reserve(out.size() + text.size() * 2);
  ForEachUtf16Unit(text, [&](std::uint16_t unit) {
    const auto high = static_cast<std::uint8_t>(unit >> 8), low = static_cast<std::uint8_t>(unit & 0xFF);
    out.push_back(bigEndian ? high : low);
    out.push_back(bigEndian ? low : high);
  });
}

bool StartsWith(const Bytes& bytes, std::initializer_list<std::uint8_t> mark) {
  if (bytes.size() < mark.size()) return false;
  size_t i = 0;
  for (auto b : mark)
    if (bytes[i++] != b) return false;
  return true;
}

// ANSI text holds no NUL byte; UTF-16 LE text of mostly Latin letters, digits and
// punctuation holds one as the second byte of nearly every character.
bool LooksLikeUtf16LeWithoutMark(const Bytes& bytes) {
  size_t firstOfPair = 0, secondOfPair = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == 0) ++(i % 2 == 0 ? firstOfPair : secondOfPair);
  }
  return secondOfPair > 2 * firstOfPair;
}

}  // namespace

std::wstring FromUtf16Le(const std::uint8_t* data, size_t byteCount) { return FromUtf16(data, byteCount, false); }
std::wstring FromUtf16Be(const std::uint8_t* data, size_t byteCount) { return FromUtf16(data, byteCount, true); }
void AppendUtf16Le(std::wstring_view text, Bytes& out) { AppendUtf16(text, out, false); }
void AppendUtf16Be(std::wstring_view text, Bytes& out) { AppendUtf16(text, out, true); }

size_t Utf16Length(std::wstring_view text) {
  size_t length = 0;
  ForEachUtf16Unit(text, [&](std::uint16_t) { ++length; });
  return length;
}

std::wstring FromUtf8(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<std::uint8_t>(bytes[i]);
    int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    if (extra < 0 || i + extra >= bytes.size()) {
      AppendCodePoint(kReplacement, text);
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<std::uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) { valid = false; break; }
      code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (extra == 1 && code < 0x80) || (extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000);
    if (!valid || overlong || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000)) {
      AppendCodePoint(kReplacement, text);
      ++i;
      continue;
    }
    AppendCodePoint(code, text);
    i += extra + 1;
  }
  return text;
}

std::string ToUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  ForEachCodePoint(text, [&](char32_t code) {
    if (code < 0x80) {
      out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (code >> 6)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (code >> 12)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (code >> 18)));
      out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
  });
  return out;
}

DecodedText DecodeText(const Bytes& bytes, Locale& locale) {
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
    return {FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3)),
            TextEncoding::Utf8Bom};
  if (StartsWith(bytes, {0xFF, 0xFE})) return {FromUtf16Le(bytes.data() + 2, bytes.size() - 2), TextEncoding::Utf16LeBom};
  if (StartsWith(bytes, {0xFE, 0xFF})) return {FromUtf16Be(bytes.data() + 2, bytes.size() - 2), TextEncoding::Utf16BeBom};
  if (LooksLikeUtf16LeWithoutMark(bytes)) return {FromUtf16Le(bytes.data(), bytes.size()), TextEncoding::Utf16Le};
  return {locale.FromAnsi(bytes), TextEncoding::Ansi};
}

Bytes EncodeText(std::wstring_view text, TextEncoding encoding, Locale& locale) {
  Bytes out;
  switch (encoding) {
    case TextEncoding::Utf8Bom: {
      out = {0xEF, 0xBB, 0xBF};
      std::string utf8 = ToUtf8(text);
      out.insert(out.end(), utf8.begin(), utf8.end());
      break;
    }
    case TextEncoding::Utf16LeBom:
      out = {0xFF, 0xFE};
      AppendUtf16Le(text, out);
      break;
    case TextEncoding::Utf16BeBom:
      out = {0xFE, 0xFF};
      AppendUtf16Be(text, out);
      break;
    case TextEncoding::Utf16Le:
      AppendUtf16Le(text, out);
      break;
    case TextEncoding::Ansi:
      out = locale.ToAnsi(text);
      break;
  }
  return out;
}

}  // namespace qm
