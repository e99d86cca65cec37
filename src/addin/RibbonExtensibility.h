#pragma once
// The Office 2007 (and later) ribbon's add-in interfaces, declared here as Office's own type
// library (MSO.DLL) declares them: the host asks an add-in for IRibbonExtensibility to get its
// custom UI markup, and hands an IRibbonControl to each callback the markup names.
#include <windows.h>
#include <oaidl.h>

MIDL_INTERFACE("000C0395-0000-0000-C000-000000000046")
IRibbonControl : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE get_Id(BSTR* Id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Context(IDispatch** Context) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Tag(BSTR* Tag) = 0;
};
__CRT_UUID_DECL(IRibbonControl, 0x000C0395, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

MIDL_INTERFACE("000C0396-0000-0000-C000-000000000046")
IRibbonExtensibility : public IDispatch {
 public:
  virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};
__CRT_UUID_DECL(IRibbonExtensibility, 0x000C0396, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

namespace inkra::addin {
// The namespace of the markup Office 2007 and later read.
inline constexpr const wchar_t* kCustomUiNamespace = L"http://schemas.microsoft.com/office/2006/01/customui";
}  // namespace inkra::addin
