#include "PenSettings.h"

#include <string>

namespace inkra::board {
namespace {

SettingsStore* OpenFirst(std::span<SettingsStore* const> stores) {
  for (SettingsStore* store : stores)
    if (store && store->OpenKey()) return store;
  return nullptr;
}

void ReadInto(SettingsStore& store, LoadedPenSettings& out) {
  if (store.ValueExists(kPenColorValue)) {
    std::optional<std::string> text = store.ReadString(kPenColorValue);
    if (!text) return;
    std::optional<ColourValue> colour = ColourFromText(*text);
    if (!colour) return;
    out.colour = *colour;
  }
  if (store.ValueExists(kPenWidthValue)) {
    std::optional<std::uint32_t> width = store.ReadDword(kPenWidthValue);
    if (!width) return;
    out.penWidth = static_cast<std::int32_t>(*width);
  }
}

bool WriteTo(SettingsStore& store, ColourValue colour, int penIndex) {
  bool ok = store.WriteString(kPenColorValue, ColourToText(colour)) &&
            store.WriteDword(kPenWidthValue, static_cast<std::uint32_t>(penIndex));
  store.CloseKey();
  return ok;
}

}  // namespace

SettingsStore* StoreToRead(std::span<SettingsStore* const> stores) {
  for (auto it = stores.rbegin(); it != stores.rend(); ++it)
    if (*it && (*it)->KeyExists() && (*it)->OpenKey()) return *it;
  return OpenFirst(stores);
}

LoadedPenSettings LoadPenSettings(std::span<SettingsStore* const> stores) {
  LoadedPenSettings out;
  SettingsStore* store = StoreToRead(stores);
  if (!store) return out;
  ReadInto(*store, out);
  store->CloseKey();
  return out;
}

bool SavePenSettings(std::span<SettingsStore* const> stores, ColourValue colour, int penIndex) {
  for (SettingsStore* store : stores) {
    if (!store || !store->OpenKey()) continue;
    if (WriteTo(*store, colour, penIndex)) return true;
  }
  return false;
}

}  // namespace inkra::board
