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
// Word: _Application. Excel: _Application, _Worksheet and _Chart (a chart sheet).
inline constexpr IID IID_Word_Application = {0x00020970, 0x0000, 0x0000,
                                             {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_Excel_Application = {0x000208D5, 0x0000, 0x0000,
                                              {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_Excel_Worksheet = {0x000208D8, 0x0000, 0x0000,
                                            {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_Excel_Chart = {0x000208D6, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// _CommandBarButtonEvents.Click(Ctrl, CancelDefault).
inline constexpr DISPID kDispIdClick = 1;

// Office 2007 and later: the ribbon's add-in interface and the control its callbacks receive.
inline constexpr IID IID_IRibbonExtensibility = {0x000C0396, 0x0000, 0x0000,
                                                 {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IRibbonControl = {0x000C0395, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// IRibbonControl's Id, Context and Tag.
inline constexpr DISPID kDispIdRibbonId = 1, kDispIdRibbonContext = 2, kDispIdRibbonTag = 3;
// The ids Office asks custom UI for: Word's documents, Excel's workbooks.
inline constexpr const wchar_t* kWordRibbonId = L"Microsoft.Word.Document";
inline constexpr const wchar_t* kExcelRibbonId = L"Microsoft.Excel.Workbook";
// The namespace of the custom UI markup of Office 2007 (later versions still read it).
inline constexpr const wchar_t* kCustomUiNamespace = L"http://schemas.microsoft.com/office/2006/01/customui";

}  // namespace inkra::test::office::published
