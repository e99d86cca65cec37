// A scripted TWAIN source manager with one source behind it. Enabling the source posts the
// source's own event to the parent window; the event loop hands it back through
// MSG_PROCESSEVENT, and each native transfer hands out a DIB of the scripted size and depth.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "FakeTwainScript.h"
#include "PageDib.h"
#include "TwainTypes.h"

using namespace inkra::twain;
using inkra::twain::fake::Page;
using inkra::twain::fake::Report;
using inkra::twain::fake::Script;

namespace {

Script g_script{};
Report g_report{};
int g_nextPage = 0;
bool g_batchEnded = false;
std::vector<HGLOBAL> g_outstanding;
HWND g_parent = nullptr;

UINT EventMessage() {
  static const UINT id = RegisterWindowMessageW(L"InkraFakeTwainSourceEvent");
  return id;
}

void Post(std::uint16_t twMessage) { PostMessageW(g_parent, EventMessage(), twMessage, 0); }

HGLOBAL HandOut(const Page& page, int index) {
  HGLOBAL block = fake::MakePageDib(page, index);
  if (!block) return nullptr;
  // A handle the allocator gives again was freed since it was handed out.
  g_outstanding.erase(std::remove(g_outstanding.begin(), g_outstanding.end(), block), g_outstanding.end());
  g_outstanding.push_back(block);
  ++g_report.blocksHandedOut;
  return block;
}

std::uint16_t Transfer(TwHandle* out) {
  if (g_nextPage >= g_script.pageCount) return TWRC_FAILURE;
  const int index = g_nextPage++;
  const Page& page = g_script.pages[index];
  g_batchEnded = page.endsBatch;
  if (page.result != TWRC_XFERDONE) return page.result;
  HGLOBAL block = HandOut(page, index);
  if (!block) return TWRC_FAILURE;
  *out = block;
  return TWRC_XFERDONE;
}

std::uint16_t Pending(std::uint16_t msg, TwPendingXfers* pending) {
  const std::uint16_t answer = msg == MSG_RESET ? g_script.reset : g_script.endXfer;
  if (answer != TWRC_SUCCESS) return answer;
  const bool lastCompleted = g_nextPage > 0 && g_script.pages[g_nextPage - 1].result == TWRC_XFERDONE;
  if (msg == MSG_RESET) g_nextPage = g_script.pageCount;
  const bool more = g_nextPage < g_script.pageCount && !g_batchEnded;
  pending->Count = more ? std::uint16_t(g_script.pageCount - g_nextPage) : 0;
  // The batch is over with nothing for the application to end on: the user closes the dialog,
  // or, after an ended batch with pages left, scans again.
  if (!more && (msg == MSG_RESET || !lastCompleted)) Post(g_nextPage < g_script.pageCount ? MSG_XFERREADY : MSG_CLOSEDSREQ);
  g_batchEnded = false;
  return TWRC_SUCCESS;
}

std::uint16_t Event(TwEvent* event) {
  const MSG* message = static_cast<const MSG*>(event->pEvent);
  event->TWMessage = MSG_NULL;
  static const UINT marker = RegisterWindowMessageW(fake::kMarkerMessage);
  if (message->message == marker) ++g_report.markersOffered;
  if (message->message != EventMessage()) return TWRC_NOTDSEVENT;
  event->TWMessage = std::uint16_t(message->wParam);
  return TWRC_DSEVENT;
}

std::uint16_t Enable(const TwUserInterface* ui) {
  ++g_report.enables;
  g_parent = static_cast<HWND>(ui->hParent);
  if (!g_script.holdOpen) Post(g_script.pageCount > 0 ? MSG_XFERREADY : MSG_CLOSEDSREQ);
  return TWRC_SUCCESS;
}

std::uint16_t Identity(std::uint16_t msg, TwIdentity* id) {
  switch (msg) {
    case MSG_USERSELECT: ++g_report.userSelects; return g_script.userSelect;
    case MSG_OPENDS:
      id->Id = 1;
      std::strcpy(id->ProductName, "Inkra Fake Source");
      return TWRC_SUCCESS;
    default: return TWRC_SUCCESS;
  }
}

}  // namespace

extern "C" std::uint16_t INKRA_TWAIN_CALL DSM_Entry(TwIdentity*, TwIdentity*, std::uint32_t dg, std::uint16_t dat,
                                                    std::uint16_t msg, TwMemRef data) {
  if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER) return Transfer(static_cast<TwHandle*>(data));
  switch (dat) {
    case DAT_PARENT: return TWRC_SUCCESS;
    case DAT_IDENTITY: return Identity(msg, static_cast<TwIdentity*>(data));
    case DAT_USERINTERFACE:
      return msg == MSG_ENABLEDS ? Enable(static_cast<TwUserInterface*>(data)) : TWRC_SUCCESS;
    case DAT_EVENT: return Event(static_cast<TwEvent*>(data));
    case DAT_PENDINGXFERS: return Pending(msg, static_cast<TwPendingXfers*>(data));
    case DAT_STATUS: static_cast<TwStatus*>(data)->ConditionCode = TWCC_BUMMER; return TWRC_SUCCESS;
    default: return TWRC_FAILURE;
  }
}

extern "C" void __cdecl FakeTwain_SetScript(const Script* script) {
  g_script = *script;
  g_nextPage = 0;
  g_batchEnded = false;
}

extern "C" void __cdecl FakeTwain_GetReport(Report* report) {
  g_report.blocksLive = int(std::count_if(g_outstanding.begin(), g_outstanding.end(),
                                          [](HGLOBAL h) { return GlobalSize(h) != 0; }));
  *report = g_report;
}

extern "C" void __cdecl FakeTwain_UserCloses() { Post(MSG_CLOSEDSREQ); }
