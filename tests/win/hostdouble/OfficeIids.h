#pragma once
// The identifiers that Office publishes in its type libraries (MSO.DLL for the command bars, the
// Word and Excel libraries for their objects), written out here from those libraries rather than
// taken from the add-in's header, so that a wrong identifier in the add-in fails a test.
#include <windows.h>
#include <oaidl.h>

namespace inkra::test::office::published {

// Office: _CommandBars, _CommandBarButton and the button's event interface.
inline constexpr IID IID__CommandBars = {0x000C0302, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID__CommandBarButton = {0x000C030E, 0x0000, 0x0000,
                                              {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID DIID__CommandBarButtonEvents = {0x000C0351, 0x0000, 0x0000,
                                                     {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Word: _Application. Excel: _Application and _Worksheet.
inline constexpr IID IID_Word_Application = {0x00020970, 0x0000, 0x0000,
                                             {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_Excel_Application = {0x000208D5, 0x0000, 0x0000,
                                              {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_Excel_Worksheet = {0x000208D8, 0x0000, 0x0000,
                                            {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// _CommandBarButtonEvents.Click(Ctrl, CancelDefault).
inline constexpr DISPID kDispIdClick = 1;

}  // namespace inkra::test::office::published
