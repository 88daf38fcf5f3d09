#pragma once
// The program's one error type: every failure carries exactly one message text,
// the text the user sees. Header-only so that every library, the INI engine
// included, can raise it without a link dependency.
#include <stdexcept>
#include <string>

class EKavError : public std::runtime_error {
 public:
  explicit EKavError(const std::string& message) : std::runtime_error(message) {}
  const std::string Message() const { return what(); }
};

// Formats the list-bounds message used by every list in the program.
inline std::string ListIndexError(long long index) {
  return "List index out of bounds (" + std::to_string(index) + ")";
}
