#include "ModalLoop.h"

namespace inkra::board::win {

void RunModalLoop(HWND window, const bool& done, HACCEL accelerators) {
  MSG msg;
  while (!done && IsWindow(window)) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    if (got < 0) return;
    if (accelerators && TranslateAcceleratorW(window, accelerators, &msg)) continue;
    if (IsDialogMessageW(window, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace inkra::board::win
