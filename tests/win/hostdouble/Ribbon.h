#pragma once
// The ribbon's side of the Office host double, as Office 2007 and later run it: after connecting
// an add-in, the host asks it for IRibbonExtensibility, takes the custom UI markup for its main
// ribbon, checks it (well-formed XML of the custom UI namespace, elements and attributes the
// schema knows, callbacks the add-in answers by name) and shows its buttons. A press calls the
// button's onAction through the add-in's IDispatch with an IRibbonControl, as Office does.
//
//   Ribbon ribbon = LoadRibbon(word, addIn.Get());        // after OnConnection
//   EXPECT_EQ(ribbon.problems, std::vector<std::wstring>{});
//   const RibbonButton* b = ribbon.Find(L"InkraSignature");
//   PressRibbonButton(word, addIn.Get(), *b);             // the board opens
#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <string>
#include <vector>

#include "ComPtr.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::test::office {

namespace published {
// The two interfaces as MSO.DLL declares them (dual; methods after IDispatch's).
struct IRibbonExtensibility : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};
struct IRibbonControl : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Id(BSTR* Id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Context(IDispatch** Context) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Tag(BSTR* Tag) = 0;
};
}  // namespace published

// A button of the markup with the tab and group it sits in; attributes as written.
struct RibbonButton {
  std::wstring tabIdMso, groupId, groupLabel;
  std::wstring id, label, size, screentip, supertip, tag, onAction, getImage, imageMso;
};

struct Ribbon {
  HRESULT result = E_NOINTERFACE;  // of the query for IRibbonExtensibility, then of GetCustomUI
  std::wstring ribbonId;           // the id the host asked for
  std::wstring markup;             // empty: the add-in adds nothing to this ribbon
  std::vector<RibbonButton> buttons;
  // Why Office would refuse the markup (it then shows none of it), one line each.
  std::vector<std::wstring> problems;

  const RibbonButton* Find(const std::wstring& id) const;
};

// The host's main ribbon id: "Microsoft.Word.Document" or "Microsoft.Excel.Workbook".
const wchar_t* MainRibbonId(HostKind kind);

// Loads the add-in's custom UI for ribbonId (default: the host's main ribbon).
Ribbon LoadRibbon(HostDouble& host, IUnknown* addIn, const wchar_t* ribbonId = nullptr);

// The press of a button: onAction looked up by name, then invoked with an IRibbonControl whose Id
// and Tag are the button's and whose Context is the host's Application (the double has no
// window objects). Returns what GetIDsOfNames or Invoke answered.
HRESULT PressRibbonButton(HostDouble& host, IUnknown* addIn, const RibbonButton& button);

// The button's getImage called as Office calls it; the picture it gave, or null (hr tells why).
win::ComPtr<IPictureDisp> RibbonButtonImage(HostDouble& host, IUnknown* addIn, const RibbonButton& button,
                                            HRESULT& hr);

// Invokes the add-in's callback `name` as Office does (DISPATCH_METHOD, the control as the only
// argument, result wanted); what GetIDsOfNames or Invoke answered.
HRESULT InvokeRibbonCallback(HostDouble& host, IUnknown* addIn, const std::wstring& name, const RibbonButton& button,
                             VARIANT* result);

}  // namespace inkra::test::office
