#pragma once
// The scripted session: a user clicks the add-in's button, writes a signature and a time stamp on
// the board, confirms, and the page shows the inserted picture. Screenshots of the board and of
// the Word window are written as board.bmp and document.bmp into outDir.
#include <string>

#include "WordWindow.h"

namespace inkra::demo {

// 0 when every step was done and both screenshots were written.
int RunScriptedSession(WordWindow& word, const std::wstring& outDir);

}  // namespace inkra::demo
