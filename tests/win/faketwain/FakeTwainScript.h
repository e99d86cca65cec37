#pragma once
// How a test scripts the fake source manager (a real TWAIN_32.DLL / TWAINDSM.DLL built for the
// tests) and reads back what it saw. The test loads the same DLL the scanner module loads, so
// both share one instance while the test holds it.
#include <windows.h>

#include <cstdint>

namespace inkra::twain::fake {

struct Page {
  std::uint16_t result;  // TWRC_XFERDONE, TWRC_CANCEL or a failure
  std::int32_t width, height;
  std::uint16_t bits;
  std::uint8_t endsBatch;  // the pending count drops to 0 after this page
};

struct Script {
  // Answers of the selection dialog and of ending or abandoning a transfer (TWRC_*).
  std::uint16_t userSelect, endXfer, reset;
  std::int32_t pageCount;
  Page pages[1024];
  std::uint8_t holdOpen;  // the source's dialog stays open until the user closes it
};

struct Report {
  std::int32_t blocksHandedOut;  // DIBs given to the application
  std::int32_t blocksLive;       // of those, still allocated now
  std::int32_t userSelects, enables;
  std::int32_t markersOffered;  // MSG_PROCESSEVENTs carrying kMarkerMessage
};

// A registered message a test posts to learn when everything posted before it was offered.
inline constexpr wchar_t kMarkerMessage[] = L"InkraFakeTwainMarker";

// The colour of every pixel of page `index`, as 0x00BBGGRR.
inline std::uint32_t PageColour(int index) { return 0x102030u * std::uint32_t(index + 1) & 0xFFFFFFu; }

using SetScriptProc = void(__cdecl*)(const Script*);
using GetReportProc = void(__cdecl*)(Report*);
// The user closes the source's dialog (from any thread).
using UserClosesProc = void(__cdecl*)();

}  // namespace inkra::twain::fake
