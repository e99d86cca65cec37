#include "KeptFonts.h"

#include <cstring>
#include <map>
#include <mutex>

#include "Dpi.h"
#include "Handle.h"

namespace inkra::win {
namespace {

// A LOGFONTW compared byte by byte, with whatever follows the face's terminator cleared, so two
// descriptions of one font are one key.
struct FontKey {
  LOGFONTW lf;
  bool operator<(const FontKey& other) const { return std::memcmp(&lf, &other.lf, sizeof lf) < 0; }
};

FontKey KeyOf(const LOGFONTW& lf) {
  FontKey key;
  std::memset(&key.lf, 0, sizeof key.lf);
  key.lf = lf;
  const std::size_t length = wcsnlen(lf.lfFaceName, LF_FACESIZE - 1);
  std::memset(key.lf.lfFaceName + length, 0, sizeof key.lf.lfFaceName - length * sizeof(wchar_t));
  return key;
}

// Destroyed with the module's other statics when it unloads, which frees every kept font.
struct Kept {
  std::mutex lock;
  std::map<FontKey, UniqueFont> fonts;
};

Kept& TheKept() {
  static Kept kept;
  return kept;
}

}  // namespace

HFONT KeptFont(const LOGFONTW& lf) {
  Kept& kept = TheKept();
  const std::lock_guard<std::mutex> hold(kept.lock);
  UniqueFont& font = kept.fonts[KeyOf(lf)];
  if (!font) font.reset(CreateFontIndirectW(&lf));
  return font.get();
}

HFONT KeptFontAtDpi(LOGFONTW base, int height, int dpi) {
  base.lfHeight = ScaleToDpi(height, dpi);
  return KeptFont(base);
}

int KeptFontCount() {
  Kept& kept = TheKept();
  const std::lock_guard<std::mutex> hold(kept.lock);
  return int(kept.fonts.size());
}

}  // namespace inkra::win
