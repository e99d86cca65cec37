// A small TWAIN data source for Wine's own source manager: a sheet feeder holding three
// generated pages. Enabling it "scans" at once: it tells the manager that a transfer is ready
// (the manager's DAT_NULL callback) and wakes the application's event loop, which learns of it
// through MSG_PROCESSEVENT. Each native transfer hands out one page; closing it needs nothing.
// With INKRA_FEEDER_DIALOG set in the environment it shows a dialog of its own first, as most
// scanners do, and scans when its button is pressed (the screenshots show the board waiting).
#include <windows.h>

#include <cstring>

#include "../faketwain/PageDib.h"
#include "TwainTypes.h"

using namespace inkra::twain;

namespace {

constexpr int kPages = 3;
constexpr char kProductName[] = "Inkra Test Feeder";
constexpr std::uint16_t DAT_NULL = 0x0000;

TwIdentity g_application{};
TwIdentity g_self{};
HWND g_parent = nullptr;
int g_nextPage = 0;
std::uint16_t g_pendingEvent = MSG_NULL;

UINT WakeMessage() {
  static const UINT id = RegisterWindowMessageW(L"InkraTestFeederEvent");
  return id;
}

void CopyText(TwStr32& to, const char* text) {
  std::memset(to, 0, sizeof to);
  std::strncpy(to, text, sizeof to - 1);
}

// Tells the manager (the standard's way for sources) and wakes the application's loop.
void Notify(std::uint16_t message) {
  g_pendingEvent = message;
  if (HMODULE manager = GetModuleHandleW(L"twain_32.dll")) {
    auto entry = reinterpret_cast<DsmEntryProc>(reinterpret_cast<void*>(GetProcAddress(manager, "DSM_Entry")));
    if (entry) entry(&g_self, &g_application, DG_CONTROL, DAT_NULL, message, nullptr);
  }
  PostMessageW(g_parent, WakeMessage(), 0, 0);
}

HINSTANCE g_module = nullptr;

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
    DestroyWindow(window);
    Notify(MSG_XFERREADY);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool WantsDialog() { return GetEnvironmentVariableW(L"INKRA_FEEDER_DIALOG", nullptr, 0) != 0; }

void ShowDialog() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DialogProc;
  wc.hInstance = g_module;
  wc.lpszClassName = L"InkraTestFeederDialog";
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, wc.lpszClassName, L"Inkra Test Feeder",
                                WS_POPUP | WS_CAPTION | WS_VISIBLE, 560, 300, 240, 110, g_parent, nullptr, g_module,
                                nullptr);
  CreateWindowExW(0, L"BUTTON", L"Scan", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 75, 25, 80, 26, dialog,
                  reinterpret_cast<HMENU>(IDOK), g_module, nullptr);
}

std::uint16_t Identity(std::uint16_t msg, TwIdentity* id) {
  // Like many sources (Wine's camera source among them), it opens only under its own name: Wine's
  // manager passes the identity the application gave on as it is, an empty one included.
  if (msg == MSG_OPENDS && std::strcmp(id->ProductName, kProductName) != 0) return TWRC_FAILURE;
  if (msg == MSG_GET || msg == MSG_OPENDS) {
    const std::uint32_t keep = id->Id;
    *id = {};
    id->Id = keep;
    id->Version = {1, 0, TWLG_USA, TWCY_USA, {}};
    CopyText(id->Version.Info, "1.0");
    id->ProtocolMajor = 1;
    id->ProtocolMinor = 9;
    id->SupportedGroups = DG_CONTROL | DG_IMAGE;
    CopyText(id->Manufacturer, "Inkra");
    CopyText(id->ProductFamily, "Test");
    CopyText(id->ProductName, kProductName);
    if (msg == MSG_OPENDS) g_self = *id, g_nextPage = 0;
  }
  return TWRC_SUCCESS;
}

std::uint16_t Pending(std::uint16_t msg, TwPendingXfers* pending) {
  if (msg == MSG_RESET) g_nextPage = kPages;
  pending->Count = std::uint16_t(kPages - g_nextPage);
  return TWRC_SUCCESS;
}

std::uint16_t Event(TwEvent* event) {
  const MSG* message = static_cast<const MSG*>(event->pEvent);
  event->TWMessage = MSG_NULL;
  if (message->message != WakeMessage()) return TWRC_NOTDSEVENT;
  event->TWMessage = g_pendingEvent;
  g_pendingEvent = MSG_NULL;
  return TWRC_DSEVENT;
}

}  // namespace

extern "C" std::uint16_t INKRA_TWAIN_CALL DS_Entry(TwIdentity* origin, std::uint32_t dg, std::uint16_t dat,
                                                   std::uint16_t msg, TwMemRef data) {
  if (origin) g_application = *origin;
  if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
    if (g_nextPage >= kPages) return TWRC_FAILURE;
    const int index = g_nextPage++;
    HGLOBAL page = fake::MakePageDib({TWRC_XFERDONE, 320, 240, 24, 0}, index);
    if (!page) return TWRC_FAILURE;
    *static_cast<TwHandle*>(data) = page;
    return TWRC_XFERDONE;
  }
  switch (dat) {
    case DAT_IDENTITY: return Identity(msg, static_cast<TwIdentity*>(data));
    case DAT_USERINTERFACE:
      if (msg == MSG_ENABLEDS) {
        g_parent = static_cast<HWND>(static_cast<TwUserInterface*>(data)->hParent);
        if (WantsDialog() && g_nextPage < kPages)
          ShowDialog();
        else
          Notify(g_nextPage < kPages ? MSG_XFERREADY : MSG_CLOSEDSREQ);
      }
      return TWRC_SUCCESS;
    case DAT_EVENT: return Event(static_cast<TwEvent*>(data));
    case DAT_PENDINGXFERS: return Pending(msg, static_cast<TwPendingXfers*>(data));
    case DAT_STATUS: static_cast<TwStatus*>(data)->ConditionCode = TWCC_SUCCESS; return TWRC_SUCCESS;
    default: return TWRC_FAILURE;
  }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}
