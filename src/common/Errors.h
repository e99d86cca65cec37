#pragma once
// Errors of the portable core. Each carries a message meant for the user's eyes.
#include <stdexcept>
#include <string>

namespace inkra {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A picture file that cannot be decoded: truncated, malformed, unsupported or too large.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace inkra
