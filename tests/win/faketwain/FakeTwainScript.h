#pragma once
// How a test scripts the fake source manager (a real TWAIN_32.DLL / TWAINDSM.DLL built for the
// tests) and reads back what it saw. Script and report live in a block of memory the test
// creates before the fake is loaded, so the test never holds the fake itself: the scanner
// module's loading and unloading alone decide its life, as with a real manager, and an unload
// ends whatever the source was doing.
#include <windows.h>

#include <cstdint>
#include <string>

namespace inkra::twain::fake {

// How a page is handed over: a packed DIB in global memory (the standard), a DIB-section bitmap
// (some sources), or a device-dependent bitmap, which is no image a native transfer may give.
enum PageHandle : std::uint8_t { kGlobalDib, kDibSection, kDeviceBitmap };

struct Page {
  std::uint16_t result;  // TWRC_XFERDONE, TWRC_CANCEL or a failure
  std::int32_t width, height;
  std::uint16_t bits;
  std::uint8_t endsBatch;  // the pending count drops to 0 after this page
  std::uint8_t handle;     // a PageHandle
  std::uint8_t marked;     // the picture's top row is black, so its row order shows
};

struct Script {
  // Answers of the selection dialog, of ending or abandoning a transfer and of disabling the
  // source (TWRC_*).
  std::uint16_t userSelect, endXfer, reset, disable;
  std::int32_t pageCount;
  Page pages[1024];
  std::uint8_t holdOpen;     // the source's dialog stays open until the user closes it
  std::uint8_t neverCloses;  // the source never asks to be closed, whatever the user does
  // Like Wine's camera source: after each transfer, as many pending as were delivered in all.
  std::uint8_t countsDelivered;
  // The source shows a dialog of its own (kDialogClass); its OK scans and closes it, its Cancel
  // closes it and asks to be closed.
  std::uint8_t ownDialog;
};

struct Report {
  std::int32_t blocksHandedOut;  // DIBs given to the application
  std::int32_t blocksLive;       // of those, still allocated now
  std::int32_t userSelects, enables;
  std::int32_t markersOffered;  // MSG_PROCESSEVENTs carrying kMarkerMessage
  std::int32_t sequenceErrors;  // triplets refused for being sent in the wrong state
  std::int32_t loads, unloads;  // of the fake's library
  std::int32_t state;           // TWAIN state now, 1 while unloaded
  std::int32_t unloadedIn;      // the state the last unload ended
  // The thread's DPI awareness (DPI_AWARENESS: 0 unaware, 1 system, 2 per monitor; -1 unknown)
  // when the selection dialog and the source's dialog were made, and that of the dialog's parent.
  std::int32_t awarenessAtSelect, awarenessAtEnable, parentAwareness;
};

// The block the test and the fake share.
struct Shared {
  Script script;
  Report report;
  std::int32_t nextPage;
  std::uint8_t batchEnded;
  std::uint64_t parent;  // the window the source posts its events to
  std::int32_t outstandingCount;
  std::uint64_t outstanding[1024];  // the DIBs handed out
  std::uint8_t outstandingHandle[1024];  // and how (PageHandle)
};

inline std::wstring SharedName() { return L"InkraFakeTwainShared-" + std::to_wstring(GetCurrentProcessId()); }

// The registered message that carries the source's events to its parent window (wParam: the
// TWAIN message, MSG_XFERREADY or MSG_CLOSEDSREQ).
inline constexpr wchar_t kEventMessage[] = L"InkraFakeTwainSourceEvent";
// The window class of the source's own dialog.
inline constexpr wchar_t kDialogClass[] = L"InkraFakeSourceDialog";
// A registered message a test posts to learn when everything posted before it was offered.
inline constexpr wchar_t kMarkerMessage[] = L"InkraFakeTwainMarker";

// The colour of every pixel of page `index`, as 0x00BBGGRR.
inline std::uint32_t PageColour(int index) { return 0x102030u * std::uint32_t(index + 1) & 0xFFFFFFu; }

}  // namespace inkra::twain::fake
