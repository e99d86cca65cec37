// The pointer types are declared for Windows 8 and later only: this file alone asks for them,
// and calls the functions through pointers looked up at run time.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0602
#define _WIN32_WINNT 0x0602
#include "PenPointer.h"

namespace inkra::board::win {
namespace {

// A pen's pressure runs from 0 to 1024.
constexpr float kFullPressure = 1024.0f;

class SystemPointerSource final : public PointerSource {
 public:
  SystemPointerSource() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    getType_ = reinterpret_cast<GetPointerTypeFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetPointerType")));
    getPenInfo_ =
        reinterpret_cast<GetPointerPenInfoFn>(reinterpret_cast<void*>(GetProcAddress(user32, "GetPointerPenInfo")));
  }

  std::optional<PenReading> Read(UINT32 pointerId) override {
    if (!getType_ || !getPenInfo_) return std::nullopt;
    POINTER_INPUT_TYPE type = 0;
    if (!getType_(pointerId, &type)) return std::nullopt;
    if (type != PT_PEN) return PenReading{};
    POINTER_PEN_INFO info{};
    if (!getPenInfo_(pointerId, &info)) return std::nullopt;
    PenReading reading;
    reading.pen = true;
    if (info.penMask & PEN_MASK_PRESSURE) reading.pressure = float(info.pressure) / kFullPressure;
    return reading;
  }

 private:
  using GetPointerTypeFn = BOOL(WINAPI*)(UINT32, POINTER_INPUT_TYPE*);
  using GetPointerPenInfoFn = BOOL(WINAPI*)(UINT32, POINTER_PEN_INFO*);
  GetPointerTypeFn getType_ = nullptr;
  GetPointerPenInfoFn getPenInfo_ = nullptr;
};

}  // namespace

PointerSource& SystemPointers() {
  static SystemPointerSource source;
  return source;
}

}  // namespace inkra::board::win
