#include "text/text_ops.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(LabelWithNumber, KeepsTheLabelsBlankAndPutsBackOneALanguageFileTrimmed) {
  struct Case {
    std::wstring_view label;
    std::size_t number;
    std::wstring_view shown;
  };
  for (const auto& [label, number, shown] : {Case{L"Всего: ", 5, L"Всего: 5"}, Case{L"Total:", 12, L"Total: 12"},
                                             Case{L"Total:\t", 0, L"Total:\t0"}, Case{L"", 3, L"3"}}) {
    EXPECT_EQ(LabelWithNumber(label, number), shown) << std::wstring(label);
  }
}

}  // namespace
}  // namespace qm
