#pragma once
// Pen input through pointer messages (WM_POINTER*, Windows 8 and later): whether a pointer is a
// pen, and the pressure it reports. The system's source looks its functions up in user32 at run
// time, so the DLL still loads where they do not exist; a test puts its own source in their place.
#include <windows.h>

#include <optional>

namespace inkra::board::win {

// The pointer messages, as Windows 8 numbers them (the build targets Windows 7).
inline constexpr UINT kWmPointerUpdate = 0x0245;
inline constexpr UINT kWmPointerDown = 0x0246;
inline constexpr UINT kWmPointerUp = 0x0247;

struct PenReading {
  bool pen = false;        // a pen; anything else (mouse, touch) draws as the mouse
  float pressure = -1.0f;  // 0 (barely touching) to 1 (full); negative when the pen reports none
};

class PointerSource {
 public:
  virtual ~PointerSource() = default;
  // What the pointer of a WM_POINTER message (its id) reports now; nothing when the system
  // cannot say (no pointer input on this system, or the pointer is gone).
  virtual std::optional<PenReading> Read(UINT32 pointerId) = 0;
};

// GetPointerType and GetPointerPenInfo from user32, when the system has them.
PointerSource& SystemPointers();

}  // namespace inkra::board::win
