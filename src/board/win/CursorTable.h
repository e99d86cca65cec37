#pragma once
// The process-wide cursor table: cursor number to cursor, as the board's view asks for it.
#include <windows.h>

namespace inkra::board::win {

// Replaces what the number held (destroying a cursor loaded from a file).
void SetTableCursor(int number, HCURSOR cursor);
void RemoveTableCursor(int number);
// Null when the number holds nothing.
HCURSOR TableCursor(int number);

// Loads the board's cursor file into number 23, or removes number 23 when it does not load.
void LoadBoardCursor();

}  // namespace inkra::board::win
