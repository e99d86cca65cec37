// GBK conversion through iconv, for the native build. glibc's CP936 is the table of Windows
// code page 936 (0x80 is the euro sign), so both builds give the same bytes.
#include <iconv.h>

#include <cerrno>
#include <memory>

#include "ChineseText.h"

namespace inkra {

std::optional<std::string> ToGbk(std::string_view utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);

  std::string out(utf8.size() * 2 + 4, '\0');  // GBK never needs more than 2 bytes a character
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  if (iconv(cd, nullptr, nullptr, &dst, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace inkra
