#pragma once
// The scripted session: a user clicks the add-in's button, writes a signature and a time stamp on
// the board, confirms, and the page (or sheet) shows the inserted picture. Screenshots of the
// board and of the host's window are written as board.bmp and <shot>.bmp into outDir.
#include <string>

#include "HostWindow.h"

namespace inkra::demo {

// 0 when every step was done and both screenshots were written. `placement`: the entry chosen
// on the board's placement list before confirming. `seal`: a round seal from its dialog instead of
// the handwriting.
int RunScriptedSession(HostWindow& host, const std::wstring& outDir, const std::wstring& shot, int placement = 0,
                       bool seal = false);

}  // namespace inkra::demo
