#include "KeptPreviews.h"

#include <algorithm>
#include <utility>

#include "GdiGlyphSource.h"

namespace inkra::win {
namespace {

// A few seals: the round and the square dialog's defaults and what a user went back and forth
// between. Each holds its picture twice (ink and screen), some hundred kilobytes at most.
constexpr std::size_t kMaxKept = 8;

// Destroyed with the module's other statics when it unloads, which frees the pictures' bitmaps.
struct Keep {
  std::vector<std::pair<std::string, KeptPreview>> previews;  // the newest last
  std::vector<std::wstring> faces;
  bool facesSeen = false;
};

Keep& TheKeep() {
  static Keep keep;
  return keep;
}

}  // namespace

KeptPreview FindKeptPreview(const std::string& key) {
  auto& previews = TheKeep().previews;
  const auto found = std::find_if(previews.begin(), previews.end(), [&](const auto& p) { return p.first == key; });
  if (found == previews.end()) return {};
  // Found again: the newest now, so a picture in use is the last to go.
  std::rotate(found, found + 1, previews.end());
  return previews.back().second;
}

void KeepPreview(const std::string& key, KeptPreview preview) {
  auto& previews = TheKeep().previews;
  std::erase_if(previews, [&](const auto& p) { return p.first == key; });
  if (previews.size() >= kMaxKept) previews.erase(previews.begin());
  previews.emplace_back(key, std::move(preview));
}

void NoteInstalledFaces(const std::vector<std::wstring>& faces) {
  Keep& keep = TheKeep();
  if (keep.facesSeen && keep.faces == faces) return;
  if (keep.facesSeen) ForgetKeptDrawings();
  keep.faces = faces;
  keep.facesSeen = true;
}

void ForgetKeptDrawings() {
  TheKeep().previews.clear();
  ForgetKeptGlyphs();
}

}  // namespace inkra::win
