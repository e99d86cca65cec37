#pragma once
// What a registration of the add-in writes, as COM and Office read it, and the checks of it shared
// by the regsvr32 and the installer tests.
#include <windows.h>

#include <string>
#include <variant>
#include <vector>

namespace inkra::test {

inline const std::wstring kWordClass = L"CLSID\\{811CC9C8-001E-407A-90B4-6B16A017C5BB}";
inline const std::wstring kExcelClass = L"CLSID\\{5C2240AF-D37C-465E-99E7-1E604DEF7018}";
inline const std::wstring kTypeLib = L"TypeLib\\{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}";
inline const std::wstring kWordOffice = L"Software\\Microsoft\\Office\\Word\\Addins\\MSOAddIn.WordAddIn";
inline const std::wstring kExcelOffice = L"Software\\Microsoft\\Office\\Excel\\Addins\\MSOAddIn.ExcelAddIn";
// WPS Office's white lists: WPS Writer loads the Word add-ins listed here, WPS Spreadsheets the
// Excel ones; each value is named after a ProgID.
inline const std::wstring kWpsWriterList = L"Software\\Kingsoft\\Office\\WPS\\AddinsWL";
inline const std::wstring kWpsSheetList = L"Software\\Kingsoft\\Office\\ET\\AddinsWL";
// Class registration lands under this key of HKEY_LOCAL_MACHINE (machine) or HKEY_CURRENT_USER (per user).
inline const std::wstring kClasses = L"Software\\Classes\\";

// Where one registration's entries land: the classes under classesRoot's Software\Classes, the
// Office add-in keys under officeRoot.
struct RegistryPlace {
  HKEY classesRoot;
  HKEY officeRoot;
};

// Every entry holds its value (present) or none of its keys exists (!present; the white lists:
// their keys are gone, as nothing else was listed), for a server
// registered as serverPath (InprocServer32) whose type library is at libraryPath. Fails the
// current test otherwise.
void ExpectEntries(bool present, RegistryPlace place, const std::wstring& serverPath, const std::wstring& libraryPath);

// What a user may add under an add-in key: a value, and a subkey with one of its own.
void AddUserEntries(HKEY root, const std::wstring& officeKey);

std::wstring ShortPathOf(const std::wstring& path);

}  // namespace inkra::test
