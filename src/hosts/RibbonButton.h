#pragma once
// The add-in's button on the ribbon of Office 2007 and later: a group "InkraSoft" on the Insert
// tab holding one large button "手写签名" that does what the toolbar button does. Office reads the
// markup once per ribbon, then calls the two callbacks it names through the add-in's IDispatch.
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "ComPtr.h"
#include "MSOfficeAddIn.h"

namespace inkra::addin {

// The main ribbon of each host: the only one the add-in adds to.
inline constexpr const wchar_t* kWordRibbonId = L"Microsoft.Word.Document";
inline constexpr const wchar_t* kExcelRibbonId = L"Microsoft.Excel.Workbook";

// The callbacks the markup names, with the dispatch ids the add-in answers for them.
inline constexpr RibbonCallback kRibbonButtonClick{L"RibbonButtonClick", 0x4001};  // onAction
inline constexpr RibbonCallback kRibbonButtonImage{L"RibbonButtonImage", 0x4002};  // getImage
inline constexpr RibbonCallback kRibbonCallbacks[] = {kRibbonButtonClick, kRibbonButtonImage};

// The custom UI markup for the button.
std::wstring RibbonButtonMarkup();
// The button's image as Office takes it from getImage; raises when it cannot be made.
win::ComPtr<IPictureDisp> RibbonButtonPicture();

}  // namespace inkra::addin
