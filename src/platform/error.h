#pragma once
// Errors that are meant to reach the user carry their message text as it is shown.
#include <stdexcept>
#include <string>

namespace qm {

class Error : public std::runtime_error {
 public:
  explicit Error(std::wstring message)
      : std::runtime_error("quillmere error"), message_(std::move(message)) {}
  const std::wstring& Message() const noexcept { return message_; }

 private:
  std::wstring message_;
};

// Replaces the first "%s" of a message pattern by each argument in turn.
std::wstring FormatMessageText(std::wstring pattern, std::initializer_list<std::wstring> args);

}  // namespace qm
