#include "Dpi.h"

#include <cwchar>

namespace inkra::win {
namespace {

// DPI_AWARENESS_CONTEXT values (Windows 10); the SDK level this code builds at predates them.
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(-3);

struct User32Dpi {
  HANDLE(WINAPI* setThreadContext)(HANDLE) = nullptr;
  HANDLE(WINAPI* getThreadContext)() = nullptr;
  UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
  UINT(WINAPI* dpiForSystem)() = nullptr;
  BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

  User32Dpi() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (!user32) return;
    Find(user32, "SetThreadDpiAwarenessContext", setThreadContext);
    Find(user32, "GetThreadDpiAwarenessContext", getThreadContext);
    Find(user32, "GetDpiForWindow", dpiForWindow);
    Find(user32, "GetDpiForSystem", dpiForSystem);
    Find(user32, "AdjustWindowRectExForDpi", adjustForDpi);
  }
  template <typename F>
  static void Find(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }
};

const User32Dpi& Api() {
  static const User32Dpi api;
  return api;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

// The thread's own awareness from before its outermost open DpiAwareScope, and how many are open.
static thread_local HANDLE tHostContext = nullptr;
static thread_local int tAwareScopes = 0;

DpiAwareScope::DpiAwareScope() {
  const User32Dpi& api = Api();
  if (!api.setThreadContext || !api.getThreadContext) return;
  // Asked first rather than taken from Set's answer: some systems answer null there for a
  // thread that never set a context of its own, which could not be given back.
  HANDLE previous = api.getThreadContext();
  if (!api.setThreadContext(kPerMonitorAwareV2) && !api.setThreadContext(kPerMonitorAware)) return;
  previous_ = previous;
  if (tAwareScopes++ == 0) tHostContext = previous;
}

DpiAwareScope::~DpiAwareScope() {
  if (!previous_) return;
  Api().setThreadContext(previous_);
  --tAwareScopes;
}

HostDpiScope::HostDpiScope() {
  const User32Dpi& api = Api();
  if (tAwareScopes == 0 || !api.setThreadContext || !api.getThreadContext) return;
  HANDLE current = api.getThreadContext();
  if (api.setThreadContext(tHostContext)) previous_ = current;
}

HostDpiScope::~HostDpiScope() {
  if (previous_) Api().setThreadContext(previous_);
}

int WindowDpi(HWND window) {
  const User32Dpi& api = Api();
  if (window && api.dpiForWindow) {
    if (UINT dpi = api.dpiForWindow(window)) return int(dpi);
  }
  if (!window && api.dpiForSystem) return int(api.dpiForSystem());
  return ScreenDpi();
}

SIZE FrameSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
  RECT frame{0, 0, clientWidth, clientHeight};
  if (const auto adjust = Api().adjustForDpi; !adjust || !adjust(&frame, style, FALSE, exStyle, UINT(dpi)))
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

LOGFONTW FaceFont(const wchar_t* face, LONG weight, BYTE pitchAndFamily) {
  LOGFONTW lf{};
  lf.lfWeight = weight;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfPitchAndFamily = pitchAndFamily;
  wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

UniqueFont CreateFontAtDpi(LOGFONTW base, int height, int dpi) {
  base.lfHeight = ScaleToDpi(height, dpi);
  return UniqueFont(CreateFontIndirectW(&base));
}

}  // namespace inkra::win
