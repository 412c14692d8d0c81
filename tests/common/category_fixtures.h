#pragma once
// Registry fixtures of scan categories that run both natively over the substitute
// registry and under Wine over the real one: the .reg file, the findings expected of
// it (one tab-separated line each, in the order a scan over the substitute registry
// adds them) and the files it expects on drive C:. All their keys, files and findings
// carry the word "Quillmere".
#include <span>
#include <string_view>

namespace qm::testing {

struct CategoryFixture {
  std::wstring_view checkBoxName;
  std::string_view regFile;       // in tests/fixtures
  std::string_view expectedFile;  // in tests/fixtures
  std::span<const std::wstring_view> files;
};

inline constexpr std::wstring_view kFileTypesFiles[] = {L"C:\\QuillmereFixture\\present.exe"};
inline constexpr std::wstring_view kSoundsFiles[] = {L"C:\\QuillmereFixture\\present.wav",
                                                     L"C:\\Windows\\Media\\QuillmereChime.wav"};

inline constexpr CategoryFixture kFileTypesFixture{L"CheckBoxFileExts", "file_types.reg", "file_types_expected.tsv",
                                                  kFileTypesFiles};
inline constexpr CategoryFixture kSoftwareKeysFixture{L"CheckBoxHKLMSOFTWARE", "software_keys.reg",
                                                     "software_keys_expected.tsv", {}};
inline constexpr CategoryFixture kSoundsFixture{L"CheckBoxSound", "sounds.reg", "sounds_expected.tsv", kSoundsFiles};

inline constexpr CategoryFixture kCategoryFixtures[] = {kFileTypesFixture, kSoftwareKeysFixture, kSoundsFixture};

}  // namespace qm::testing
