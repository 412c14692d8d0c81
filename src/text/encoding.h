#pragma once
// Text encodings of the files the program reads and writes. Text is held as
// std::wstring (UTF-16 on Windows, UTF-32 elsewhere); this is the one place that knows.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

class Locale;

enum class TextEncoding { Ansi, Utf8Bom, Utf16LeBom, Utf16BeBom, Utf16Le };

using Bytes = std::vector<std::uint8_t>;

// UTF-16 code units <-> text. Unpaired surrogates are kept as they are.
std::wstring FromUtf16Le(const std::uint8_t* data, size_t byteCount);
std::wstring FromUtf16Be(const std::uint8_t* data, size_t byteCount);
void AppendUtf16Le(std::wstring_view text, Bytes& out);
void AppendUtf16Be(std::wstring_view text, Bytes& out);
// The number of UTF-16 code units of the text (a character outside the Basic
// Multilingual Plane counts two).
size_t Utf16Length(std::wstring_view text);
// UTF-8 <-> text. Malformed sequences become U+FFFD.
std::wstring FromUtf8(std::string_view bytes);
std::string ToUtf8(std::wstring_view text);

struct DecodedText {
  std::wstring text;
  TextEncoding encoding = TextEncoding::Ansi;
};

// Picks the encoding by byte-order mark (UTF-8, UTF-16 LE, UTF-16 BE); without one the
// bytes are the ANSI code page of `locale`, unless NUL bytes, which ANSI text never
// holds, stand mostly second in their pair: then they are UTF-16 LE written without a
// mark (Utf16Le). The mark is not part of the text. A trailing odd byte of UTF-16 text
// is dropped.
DecodedText DecodeText(const Bytes& bytes, Locale& locale);
// Encodes with the byte-order mark of the encoding (none for ANSI and Utf16Le).
Bytes EncodeText(std::wstring_view text, TextEncoding encoding, Locale& locale);

}  // namespace qm
