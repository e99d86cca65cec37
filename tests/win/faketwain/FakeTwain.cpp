// A scripted TWAIN source manager with one source behind it. Enabling the source posts the
// source's own event to the parent window; the event loop hands it back through
// MSG_PROCESSEVENT, and each native transfer hands out a DIB of the scripted size and depth.
// Like a real manager it keeps TWAIN's state table: a triplet sent in the wrong state fails with
// TWCC_SEQERROR, and unloading the library ends the session whatever state it was in.
#include <windows.h>

#include <cstring>
#include <iterator>

#include "FakeTwainScript.h"
#include "PageDib.h"
#include "TwainStateTable.h"
#include "TwainTypes.h"

using namespace inkra::twain;
using inkra::twain::fake::Page;
using inkra::twain::fake::Script;
using inkra::twain::fake::Shared;

namespace {

Shared g_alone{};             // when no test shares a block (loaded by something else)
Shared* g_shared = &g_alone;  // the test's block, mapped while the library is loaded
HANDLE g_mapping = nullptr;
int g_state = 1;
std::uint16_t g_condition = TWCC_SUCCESS;

Script& TheScript() { return g_shared->script; }
fake::Report& TheReport() { return g_shared->report; }

UINT EventMessage() {
  static const UINT id = RegisterWindowMessageW(fake::kEventMessage);
  return id;
}

void Post(std::uint16_t twMessage) {
  if (twMessage == MSG_CLOSEDSREQ && TheScript().neverCloses) return;
  PostMessageW(reinterpret_cast<HWND>(g_shared->parent), EventMessage(), twMessage, 0);
}

// The thread's DPI awareness as DPI_AWARENESS, or -1 where the system has no such thing.
int Awareness(HWND window = nullptr) {
  using Context = HANDLE;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto ofThread = reinterpret_cast<Context(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
  auto ofWindow = reinterpret_cast<Context(WINAPI*)(HWND)>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
  auto awareness = reinterpret_cast<int(WINAPI*)(Context)>(
      reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
  if (!ofThread || !ofWindow || !awareness) return -1;
  return awareness(window ? ofWindow(window) : ofThread());
}

HANDLE MakeHandle(const Page& page, int index) {
  switch (page.handle) {
    case fake::kDibSection: return fake::MakePageBitmap(page, index);
    case fake::kDeviceBitmap: return CreateBitmap(page.width, page.height < 0 ? -page.height : page.height, 1, 32, nullptr);
    default: return fake::MakePageDib(page, index);
  }
}

HANDLE HandOut(const Page& page, int index) {
  HANDLE block = MakeHandle(page, index);
  if (!block) return nullptr;
  // A handle the allocator gives again was freed since it was handed out.
  Shared& s = *g_shared;
  const auto value = reinterpret_cast<std::uintptr_t>(block);
  int kept = 0;
  for (int i = 0; i < s.outstandingCount; ++i)
    if (s.outstanding[i] != value) s.outstandingHandle[kept] = s.outstandingHandle[i], s.outstanding[kept++] = s.outstanding[i];
  s.outstandingCount = kept;
  if (kept < int(std::size(s.outstanding))) {
    s.outstandingHandle[kept] = page.handle;
    s.outstanding[s.outstandingCount++] = value;
  }
  ++TheReport().blocksHandedOut;
  return block;
}

std::uint16_t Transfer(TwHandle* out) {
  Shared& s = *g_shared;
  if (s.nextPage >= s.script.pageCount) return TWRC_FAILURE;
  const int index = s.nextPage++;
  const Page& page = s.script.pages[index];
  s.batchEnded = page.endsBatch;
  if (page.result != TWRC_XFERDONE) return page.result;
  HANDLE block = HandOut(page, index);
  if (!block) return TWRC_FAILURE;
  *out = block;
  return TWRC_XFERDONE;
}

std::uint16_t Pending(std::uint16_t msg, TwPendingXfers* pending) {
  Shared& s = *g_shared;
  const std::uint16_t answer = msg == MSG_RESET ? s.script.reset : s.script.endXfer;
  if (answer != TWRC_SUCCESS) return answer;
  const bool lastCompleted = s.nextPage > 0 && s.script.pages[s.nextPage - 1].result == TWRC_XFERDONE;
  if (msg == MSG_RESET) s.nextPage = s.script.pageCount;
  const bool more = s.nextPage < s.script.pageCount && !s.batchEnded;
  pending->Count = s.script.countsDelivered && msg == MSG_ENDXFER ? std::uint16_t(s.nextPage)
                  : more                                          ? std::uint16_t(s.script.pageCount - s.nextPage)
                                                                  : 0;
  // The batch is over with nothing for the application to end on: the user closes the dialog,
  // or, after an ended batch with pages left, scans again.
  if (!more && (msg == MSG_RESET || !lastCompleted))
    Post(s.nextPage < s.script.pageCount ? MSG_XFERREADY : MSG_CLOSEDSREQ);
  s.batchEnded = 0;
  return TWRC_SUCCESS;
}

std::uint16_t Event(TwEvent* event) {
  const MSG* message = static_cast<const MSG*>(event->pEvent);
  event->TWMessage = MSG_NULL;
  static const UINT marker = RegisterWindowMessageW(fake::kMarkerMessage);
  if (message->message == marker) ++TheReport().markersOffered;
  if (message->message != EventMessage()) return TWRC_NOTDSEVENT;
  event->TWMessage = std::uint16_t(message->wParam);
  return TWRC_DSEVENT;
}

// The source's own dialog: OK scans and closes it (the pages become ready once it is gone),
// Cancel closes it and asks the application to close the source.
HWND g_dialog = nullptr;

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    DestroyWindow(window);
    Post(LOWORD(wParam) == IDOK ? MSG_XFERREADY : MSG_CLOSEDSREQ);
    return 0;
  }
  if (message == WM_DESTROY) g_dialog = nullptr;
  return DefWindowProcW(window, message, wParam, lParam);
}

HINSTANCE g_module = nullptr;

void OpenDialog(HWND parent) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DialogProc;
  wc.hInstance = g_module;
  wc.lpszClassName = fake::kDialogClass;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  RegisterClassW(&wc);
  g_dialog = CreateWindowExW(0, fake::kDialogClass, L"Inkra Fake Camera", WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 200,
                             320, 200, parent, nullptr, g_module, nullptr);
}

void CloseDialog() {
  if (g_dialog) DestroyWindow(g_dialog);
}

std::uint16_t UserInterface(std::uint16_t msg, const TwUserInterface* ui) {
  if (msg == MSG_DISABLEDS) {
    const std::uint16_t answer = TheScript().disable;
    if (answer == TWRC_SUCCESS) CloseDialog();
    return answer;
  }
  ++TheReport().enables;
  TheReport().awarenessAtEnable = Awareness();
  TheReport().parentAwareness = Awareness(static_cast<HWND>(ui->hParent));
  g_shared->parent = reinterpret_cast<std::uintptr_t>(ui->hParent);
  if (TheScript().ownDialog)
    OpenDialog(static_cast<HWND>(ui->hParent));
  else if (!TheScript().holdOpen)
    Post(TheScript().pageCount > 0 ? MSG_XFERREADY : MSG_CLOSEDSREQ);
  return TWRC_SUCCESS;
}

void Name(TwIdentity* id) {
  id->Id = 1;
  std::strcpy(id->ProductName, "Inkra Fake Source");
}

std::uint16_t Identity(std::uint16_t msg, TwIdentity* id) {
  switch (msg) {
    case MSG_USERSELECT:
      ++TheReport().userSelects;
      TheReport().awarenessAtSelect = Awareness();
      return TheScript().userSelect;
    case MSG_GETDEFAULT:
    case MSG_OPENDS: Name(id); return TWRC_SUCCESS;
    default: return TWRC_SUCCESS;
  }
}

std::uint16_t Respond(std::uint32_t dg, std::uint16_t dat, std::uint16_t msg, TwMemRef data) {
  if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER) return Transfer(static_cast<TwHandle*>(data));
  switch (dat) {
    case DAT_PARENT: return TWRC_SUCCESS;
    case DAT_IDENTITY: return Identity(msg, static_cast<TwIdentity*>(data));
    case DAT_USERINTERFACE: return UserInterface(msg, static_cast<TwUserInterface*>(data));
    case DAT_EVENT: return Event(static_cast<TwEvent*>(data));
    case DAT_PENDINGXFERS: return Pending(msg, static_cast<TwPendingXfers*>(data));
    default: return TWRC_FAILURE;
  }
}

void MapShared() {
  g_mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, fake::SharedName().c_str());
  if (!g_mapping) return;
  if (void* view = MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Shared)))
    g_shared = static_cast<Shared*>(view);
}

}  // namespace

extern "C" std::uint16_t INKRA_TWAIN_CALL DSM_Entry(TwIdentity*, TwIdentity* destination, std::uint32_t dg,
                                                    std::uint16_t dat, std::uint16_t msg, TwMemRef data) {
  if (!testing::ValidStates(dg, dat, msg, destination != nullptr).Holds(g_state)) {
    ++TheReport().sequenceErrors;
    if (dat != DAT_STATUS) g_condition = TWCC_SEQERROR;
    return TWRC_FAILURE;
  }
  if (dat == DAT_STATUS) {
    static_cast<TwStatus*>(data)->ConditionCode = g_condition;
    return TWRC_SUCCESS;
  }
  const std::uint16_t result = Respond(dg, dat, msg, data);
  g_condition = result == TWRC_FAILURE ? TWCC_BUMMER : TWCC_SUCCESS;
  std::uint16_t notice = 0;
  if (dat == DAT_EVENT) notice = static_cast<TwEvent*>(data)->TWMessage;
  if (dat == DAT_PENDINGXFERS && result == TWRC_SUCCESS) notice = static_cast<TwPendingXfers*>(data)->Count;
  g_state = testing::StateAfter(g_state, dg, dat, msg, result, notice);
  TheReport().state = g_state;
  return result;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    MapShared();
    ++TheReport().loads;
    g_state = 2;
    TheReport().state = g_state;
  } else if (reason == DLL_PROCESS_DETACH) {
    // Unloaded with its dialog open (a session given up): the window goes with the code behind it.
    CloseDialog();
    UnregisterClassW(fake::kDialogClass, module);
    ++TheReport().unloads;
    TheReport().unloadedIn = g_state;
    TheReport().state = 1;
    if (g_shared != &g_alone) UnmapViewOfFile(g_shared);
    if (g_mapping) CloseHandle(g_mapping);
  }
  return TRUE;
}
