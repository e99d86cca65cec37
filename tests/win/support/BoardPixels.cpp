// Apart from the other board steps, which drive the window from outside: these use the board
// object itself, so only programs that link the board take them in.
#include "BoardDriver.h"

namespace inkra::test {

std::vector<std::string> DriveBoard(board::win::TfrmWhiteBorad& board, const std::function<void(UiDriver&)>& steps,
                                    bool close) {
  UiDriver ui;
  ui.Then([&](UiDriver& d) {
    WaitForBoard(d);
    steps(d);
    if (close) d.Close(board.Handle());
  });
  board.ShowModal();
  return ui.Join();
}

Bitmap BoardPixels(const board::win::TfrmWhiteBorad& board) {
  Picture p = board.Model().Snapshot();
  if (auto* b = std::get_if<Bitmap>(&p)) return *b;
  if (auto* j = std::get_if<JpegPicture>(&p)) return j->decoded;
  return {};
}

Bitmap BoardPixelsOnceSettled(UiDriver& d, const board::win::TfrmWhiteBorad& board,
                              const std::function<bool()>& ready, const std::string& what) {
  Bitmap seen;
  Eventually(d, [&] {
    bool now = false;
    d.OnTestThread([&] {
      now = ready();
      if (now) seen = BoardPixels(board);
    });
    return now;
  }, what);
  return seen;
}

}  // namespace inkra::test
