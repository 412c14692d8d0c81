#include "platform/error.h"

namespace qm {

std::wstring FormatMessageText(std::wstring pattern, std::initializer_list<std::wstring> args) {
  size_t from = 0;
  for (const auto& arg : args) {
    size_t at = pattern.find(L"%s", from);
    if (at == std::wstring::npos) break;
    pattern.replace(at, 2, arg);
    from = at + arg.size();
  }
  return pattern;
}

}  // namespace qm
