#include "CursorTable.h"

#include <map>

#include "BoardTexts.h"
#include "TextConvert.h"

namespace inkra::board::win {
namespace {

// The cursors loaded from files go with the module that loaded them.
struct Cursors : std::map<int, HCURSOR> {
  ~Cursors() {
    for (const auto& entry : *this) DestroyCursor(entry.second);
  }
};

std::map<int, HCURSOR>& Table() {
  static Cursors table;
  return table;
}

}  // namespace

void SetTableCursor(int number, HCURSOR cursor) {
  auto& table = Table();
  auto it = table.find(number);
  if (it != table.end() && it->second != cursor) DestroyCursor(it->second);
  table[number] = cursor;
}

void RemoveTableCursor(int number) {
  auto& table = Table();
  auto it = table.find(number);
  if (it == table.end()) return;
  DestroyCursor(it->second);
  table.erase(it);
}

HCURSOR TableCursor(int number) {
  auto& table = Table();
  auto it = table.find(number);
  return it == table.end() ? nullptr : it->second;
}

void LoadBoardCursor() {
  HCURSOR cursor = LoadCursorFromFileW(inkra::win::Utf8ToWide(kCursorPath).c_str());
  if (cursor)
    SetTableCursor(kBoardCursorId, cursor);
  else
    RemoveTableCursor(kBoardCursorId);
}

}  // namespace inkra::board::win
