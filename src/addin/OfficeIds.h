#pragma once
// Interface identifiers of the Office, Word and Excel object models that the add-ins query for.
// The add-ins hold these interfaces as IDispatch and call them by late binding.
#include <windows.h>
#include <oaidl.h>

namespace inkra::office {

// Office: the command-bar collection, a command-bar button, and the button's event interface.
inline constexpr IID IID__CommandBars = {0x000C0302, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID__CommandBarButton = {0x000C030E, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID DIID__CommandBarButtonEvents = {0x000C0351, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
// Word's and Excel's _Application, Excel's _Worksheet and _Chart (a chart sheet).
inline constexpr IID IID_WordApplication = {0x00020970, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ExcelApplication = {0x000208D5, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ExcelWorksheet = {0x000208D8, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ExcelChart = {0x000208D6, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The Click event of _CommandBarButtonEvents: Click(Ctrl, CancelDefault by reference).
inline constexpr DISPID kDispIdClick = 1;

}  // namespace inkra::office
