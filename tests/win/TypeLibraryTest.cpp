// The type library carried by the built DLL: every name, identifier and help string.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>

#include "ComPtr.h"

using inkra::win::ComPtr;

namespace {

std::wstring DllPath() {
  std::string unixPath = INKRA_DLL_PATH;
  return L"Z:" + std::wstring(unixPath.begin(), unixPath.end());
}

std::wstring Guid(const GUID& g) {
  wchar_t text[40];
  StringFromGUID2(g, text, 40);
  return text;
}

struct Doc {
  std::wstring name, help;
};

Doc Documentation(ITypeLib* lib, int index) {
  BSTR name = nullptr, help = nullptr;
  EXPECT_EQ(lib->GetDocumentation(index, &name, &help, nullptr, nullptr), S_OK);
  Doc d{name ? name : L"", help ? help : L""};
  SysFreeString(name);
  SysFreeString(help);
  return d;
}

class TypeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(LoadTypeLibEx(DllPath().c_str(), REGKIND_NONE, &lib), S_OK);
  }
  ComPtr<ITypeLib> lib;
};

TEST_F(TypeLibrary, HasTheLibraryAttributes) {
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_EQ(Guid(attr->guid), L"{35A17783-59C5-4B66-B0E3-A7BEEC7971D0}");
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->lcid, 0x409u);
  lib->ReleaseTLibAttr(attr);
  Doc d = Documentation(lib.Get(), -1);
  EXPECT_EQ(d.name, L"MSOAddIn");
  EXPECT_EQ(d.help, L"MSOAddIn Library");
}

struct Expected {
  const wchar_t* name;
  TYPEKIND kind;
  const wchar_t* guid;
  const wchar_t* help;
  const wchar_t* defaultInterface;  // coclasses only
};

const Expected kTypes[] = {
    {L"IOutlookAddIn", TKIND_DISPATCH, L"{BDCDF1E4-0874-403C-A286-B00098F8EBC9}",
     L"Dispatch interface for MSOfficeAddIn Object", nullptr},
    {L"IWordAddIn", TKIND_DISPATCH, L"{FA03D569-2213-40CA-B62E-244039FA1258}",
     L"Dispatch interface for WordAddIn Object", nullptr},
    {L"IExcelAddIn", TKIND_DISPATCH, L"{0ED24C8C-3AFB-4DF1-9103-B65CD0069FC7}",
     L"Dispatch interface for ExcelAddIn Object", nullptr},
    {L"OutlookAddIn", TKIND_COCLASS, L"{9CF0B415-3F27-4C67-89AE-31D3F18ABC03}", L"MSOfficeAddIn Object",
     L"IOutlookAddIn"},
    {L"WordAddIn", TKIND_COCLASS, L"{811CC9C8-001E-407A-90B4-6B16A017C5BB}", L"WordAddIn Object",
     L"IWordAddIn"},
    {L"ExcelAddIn", TKIND_COCLASS, L"{5C2240AF-D37C-465E-99E7-1E604DEF7018}", L"ExcelAddIn Object",
     L"IExcelAddIn"},
};

TEST_F(TypeLibrary, DeclaresThreeDualInterfacesAndThreeCoclasses) {
  ASSERT_EQ(lib->GetTypeInfoCount(), 6u);
  for (const Expected& e : kTypes) {
    SCOPED_TRACE(testing::Message() << std::string(e.name, e.name + wcslen(e.name)));
    int found = -1;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i)
      if (Documentation(lib.Get(), int(i)).name == e.name) found = int(i);
    ASSERT_GE(found, 0);
    EXPECT_EQ(Documentation(lib.Get(), found).help, e.help);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib->GetTypeInfo(UINT(found), &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(Guid(attr->guid), e.guid);
    EXPECT_EQ(attr->typekind, e.kind);
    if (e.kind == TKIND_DISPATCH) {
      EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDUAL);
      EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE);
      EXPECT_EQ(attr->cFuncs, 7);  // IUnknown and IDispatch only: no members of its own
      // The vtable side of the dual interface: OLE-automation compatible, derived from IDispatch.
      HREFTYPE vtableRef = 0;
      ASSERT_EQ(info->GetRefTypeOfImplType(UINT(-1), &vtableRef), S_OK);
      ComPtr<ITypeInfo> vtable;
      ASSERT_EQ(info->GetRefTypeInfo(vtableRef, &vtable), S_OK);
      TYPEATTR* vattr = nullptr;
      ASSERT_EQ(vtable->GetTypeAttr(&vattr), S_OK);
      EXPECT_EQ(vattr->typekind, TKIND_INTERFACE);
      EXPECT_TRUE(vattr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
      EXPECT_EQ(vattr->cImplTypes, 1);
      vtable->ReleaseTypeAttr(vattr);
    } else {
      EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FCANCREATE);
      ASSERT_EQ(attr->cImplTypes, 1);
      INT flags = 0;
      EXPECT_EQ(info->GetImplTypeFlags(0, &flags), S_OK);
      EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT);
      HREFTYPE ref = 0;
      ASSERT_EQ(info->GetRefTypeOfImplType(0, &ref), S_OK);
      ComPtr<ITypeInfo> iface;
      ASSERT_EQ(info->GetRefTypeInfo(ref, &iface), S_OK);
      BSTR name = nullptr;
      ASSERT_EQ(iface->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
      std::wstring expectedDefault = std::wstring(L"I") + e.name;
      EXPECT_EQ(std::wstring(name), expectedDefault);
      SysFreeString(name);
    }
    info->ReleaseTypeAttr(attr);
  }
}

}  // namespace
