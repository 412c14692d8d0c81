#pragma once
// Helpers of the Windows tests that work on the real registry: test keys that remove
// themselves, values of every kind, and the registry editor of the Windows folder.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/reg_file.h"
#include "platform/win32/win32_registry.h"
#include "text/encoding.h"
#include "cli_run.h"

namespace qm {

// A value in a failure message: its type, its size and its first bytes, so that a
// megabyte of data does not flood the output.
inline void PrintTo(const RegValue& value, std::ostream* out) {
  *out << "type " << value.type << ", " << value.data.size() << " bytes:";
  for (std::size_t i = 0; i < value.data.size() && i < 16; ++i) *out << ' ' << int(value.data[i]);
  if (value.data.size() > 16) *out << " ...";
}

}  // namespace qm

namespace qm::testing {

inline std::wstring UniqueName() {
  return L"QuillmereTest" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(GetTickCount64());
}

// A test key removed from both views when the test ends, however it ends.
class ScopedTestKey {
 public:
  ScopedTestKey(Win32Registry& registry, RootKey root, std::wstring path)
      : registry_(registry), root_(root), path_(std::move(path)) {}
  ~ScopedTestKey() {
    registry_.DeleteTree(root_, path_, access::AllAccess64);
    registry_.DeleteTree(root_, path_, KEY_ALL_ACCESS | KEY_WOW64_32KEY);
  }
  ScopedTestKey(const ScopedTestKey&) = delete;
  ScopedTestKey& operator=(const ScopedTestKey&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  Win32Registry& registry_;
  RootKey root_;
  std::wstring path_;
};

// Creates the key in the given view with the values given.
inline void MakeKey(Win32Registry& registry, RootKey root, const std::wstring& path, std::uint32_t accessMask,
                    const std::vector<RegFileValue>& values = {}) {
  auto key = registry.Create(root, path, accessMask);
  ASSERT_TRUE(key) << "cannot create the test key";
  for (const auto& entry : values) ASSERT_TRUE(registry.SetValue(*key, entry.name, *entry.value));
}

// Runs the registry editor of the Windows folder with the arguments and waits for it.
inline void RunRegedit(const std::wstring& arguments) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::filesystem::path regedit = std::filesystem::path(windows) / L"regedit.exe";
  ASSERT_EQ(RunCommand(Quoted(regedit) + L" " + arguments), 0u) << "regedit " << ToUtf8(arguments);
}

inline Bytes ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream stream(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

inline Bytes Utf16(std::wstring_view text) { return MakeStringValue(text).data; }

// The UTF-16 bytes of the text without a terminating NUL.
inline Bytes Utf16WithoutNul(std::wstring_view text) {
  Bytes bytes = Utf16(text);
  bytes.resize(bytes.size() - 2);
  return bytes;
}

inline Bytes Joined(Bytes first, const Bytes& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Every value of a key by name; nothing when the key does not open.
inline std::map<std::wstring, RegValue> ValuesOf(Win32Registry& registry, RootKey root, const std::wstring& path,
                                                 std::uint32_t accessMask) {
  std::map<std::wstring, RegValue> values;
  auto key = registry.Open(root, path, accessMask);
  if (!key) return values;
  for (const std::wstring& name : registry.ValueNames(*key))
    if (auto value = registry.Query(*key, name)) values.emplace(name, std::move(*value));
  return values;
}

inline Bytes Sequence(int count) {
  Bytes bytes;
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7));
  return bytes;
}

// Values of every type the registry editor writes, with names and data that test the
// escapes and the line wrapping.
inline std::vector<RegFileValue> EveryKindOfValue() {
  return {
      {L"", MakeStringValue(L"default")},
      {L"Path \"quoted\" \\ name", MakeStringValue(L"C:\\Program Files\\A \"b\"\\")},
      {L"Lines", MakeStringValue(L"one\r\ntwo")},
      {L"Пустая", MakeStringValue(L"")},
      {L"Юникод", MakeStringValue(L"Ж \U0001F600")},
      {L"Expand", MakeStringValue(L"%ProgramFiles%\\Common Files\\x.dll", regtype::ExpandSz)},
      {L"Multi", RegValue{regtype::MultiSz, Utf16(std::wstring(L"first\0second\0", 13))}},
      {L"Dword", MakeDwordValue(0x80000001)},
      {L"Big endian", RegValue{regtype::DwordBigEndian, {0, 0, 1, 2}}},
      {L"Qword", RegValue{regtype::Qword, {1, 2, 3, 4, 5, 6, 7, 8}}},
      {L"Binary", RegValue{regtype::Binary, Sequence(200)}},
      {L"Empty binary", RegValue{regtype::Binary, {}}},
      {L"None", RegValue{regtype::None, {1}}},
      {L"Link", RegValue{regtype::Link, Utf16(L"\\Registry\\Machine\\Software")}},
      {L"Resources", RegValue{regtype::ResourceList, Sequence(30)}},
      {L"Descriptor", RegValue{regtype::FullResourceDescriptor, {1, 2}}},
      {L"Requirements", RegValue{regtype::ResourceRequirementsList, {3}}},
      {L"Unknown type", RegValue{0x1234, {9, 8, 7}}},
      {std::wstring(90, L'n'), RegValue{regtype::Binary, Sequence(10)}},
  };
}

}  // namespace qm::testing
