#include <gtest/gtest.h>

#include "text/encoding.h"

namespace qm {

// A character outside the Basic Multilingual Plane, as the platform's wide text holds it.
std::wstring GrinningFace() {
  if constexpr (sizeof(wchar_t) == 2) return L"\xD83D\xDE00";
  else return std::wstring(1, static_cast<wchar_t>(0x1F600));
}

TEST(Encoding, Utf16AndUtf8RoundTripOutsideTheBasicPlane) {
  const std::wstring text = L"Ж" + GrinningFace() + L"z";
  Bytes le, be;
  AppendUtf16Le(text, le);
  AppendUtf16Be(text, be);
  EXPECT_EQ(le, (Bytes{0x16, 0x04, 0x3D, 0xD8, 0x00, 0xDE, 0x7A, 0x00}));
  EXPECT_EQ(FromUtf16Le(le.data(), le.size()), text);
  EXPECT_EQ(FromUtf16Be(be.data(), be.size()), text);
  EXPECT_EQ(ToUtf8(text), "\xD0\x96\xF0\x9F\x98\x80z");
  EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Encoding, MalformedUtf8BecomesReplacementCharacters) {
  const std::wstring r(1, wchar_t(0xFFFD));
  EXPECT_EQ(FromUtf8("a\xC3"), L"a" + r);                 // truncated sequence
  EXPECT_EQ(FromUtf8("\xC0\xAF"), r + r);                 // overlong
  EXPECT_EQ(FromUtf8("\xED\xA0\x80x"), r + r + r + L"x"); // encoded surrogate
  EXPECT_EQ(FromUtf8("\xFF"), r);
}

TEST(Encoding, OddUtf16ByteCountDropsTheLastByte) {
  const Bytes bytes{0x41, 0x00, 0x42};
  EXPECT_EQ(FromUtf16Le(bytes.data(), bytes.size()), L"A");
}

}  // namespace qm
