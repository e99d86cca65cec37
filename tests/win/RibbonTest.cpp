// The ribbon button of Office 2007 and later, through the built DLL as Office loads it: the Word and
// Excel doubles read the add-in's custom UI after connection, check it with a real XML parser, and
// press the button; the press must do exactly what the toolbar button does.
#include <windows.h>
#include <commctrl.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <regex>

#include "ComPtr.h"
#include "Handle.h"
#include "IDTExtensibility2.h"
#include "TextConvert.h"
#include "ToolbarClickSupport.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "hostdouble/Ribbon.h"
#include "support/AddInDll.h"
#include "support/BoardDriver.h"
#include "support/RegisteredDll.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;
using office::RibbonButton;

const char* Name(HostKind kind) { return kind == HostKind::Word ? "Word" : "Excel"; }

// An add-in of one host made by the built DLL's factory and connected to a double of that host
// holding an open document or workbook.
class RibbonThroughDll : public ::testing::TestWithParam<HostKind> {
 protected:
  void SetUp() override { ASSERT_TRUE(dll.Loaded()) << GetLastError(); }
  void TearDown() override { DeleteFileW(L"C:\\00000001InkraWebWhirte.wmf"); }

  win::ComPtr<IDTExtensibility2> Connect(HostDouble& host) { return dll.Connect(host); }
  office::ShapesState& Shapes(HostDouble& host) { return AddInDll::Shapes(host); }

  // What one click did: every call on the host (object numbers left out: the ribbon's control is
  // one more object of the host) and the picture inserted.
  struct Signed {
    std::vector<std::wstring> calls;
    office::ShapeState shape;
  };
  // A fresh host and add-in; the user clicks the toolbar button or presses the ribbon button,
  // writes one stroke on the board and confirms.
  Signed SignOnce(bool throughRibbon) {
    Signed result;
    HostDouble host(GetParam());
    win::ComPtr<IDTExtensibility2> addIn = Connect(host);
    if (!addIn) return result;
    office::Ribbon ribbon = office::LoadRibbon(host, addIn.Get());
    host.log().Clear();
    UiDriver ui(10000);
    ui.Then([](UiDriver& d) {
      HWND board = WaitForBoard(d);
      Stroke(d.Child(board, L"InkraBoardView", nullptr), {{40, 60}, {200, 120}, {360, 80}, {500, 140}});
      ClickTool(d.Child(board, TOOLBARCLASSNAMEW, nullptr), board::win::kBtnOK);
    });
    if (throughRibbon) {
      EXPECT_EQ(PressRibbonButton(host, addIn.Get(), ribbon.buttons.at(0)), S_OK);
    } else {
      VARIANT_BOOL cancel = VARIANT_FALSE;
      EXPECT_EQ(FireClick(host, *host.profile().Find(L"InkraSoft")->controls.at(0), cancel), S_OK);
    }
    EXPECT_EQ(ui.Join(), std::vector<std::string>{});
    const std::wregex objectNumber(L"#[0-9]+");
    for (const office::CallRecord& call : host.log().Calls())
      result.calls.push_back(std::regex_replace(call.Describe(), objectNumber, L"#"));
    if (Shapes(host).items.size() == 1) result.shape = *Shapes(host).items[0];
    EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
    return result;
  }

  Apartment apartment;
  AddInDll dll;
};

TEST_P(RibbonThroughDll, TheMainRibbonGetsOneLargeButtonOnTheInsertTabAndNoOtherRibbonGetsAnything) {
  HostDouble host(GetParam());
  win::ComPtr<IDTExtensibility2> addIn = Connect(host);
  ASSERT_TRUE(addIn);

  office::Ribbon ribbon = office::LoadRibbon(host, addIn.Get());
  ASSERT_EQ(ribbon.result, S_OK);
  EXPECT_EQ(ribbon.problems, std::vector<std::wstring>{}) << win::WideToUtf8(ribbon.markup);
  ASSERT_EQ(ribbon.buttons.size(), 1u) << win::WideToUtf8(ribbon.markup);
  const RibbonButton& button = ribbon.buttons[0];
  EXPECT_EQ(button.tabIdMso, L"TabInsert");
  EXPECT_EQ(button.groupLabel, L"InkraSoft");
  EXPECT_EQ(button.label, L"手写签名");
  EXPECT_EQ(button.size, L"large");
  EXPECT_EQ(button.screentip, L"手写签名");
  EXPECT_EQ(button.tag, L"手写签名$$$");
  EXPECT_FALSE(button.onAction.empty());

  // The image is the 32 x 32 picture with an alpha channel that the ribbon draws.
  HRESULT hr = E_FAIL;
  win::ComPtr<IPictureDisp> image = office::RibbonButtonImage(host, addIn.Get(), button, hr);
  ASSERT_EQ(hr, S_OK);
  win::ComPtr<IPicture> picture;
  ASSERT_EQ(image.As(&picture), S_OK);
  SHORT type = 0;
  OLE_HANDLE handle = 0;
  EXPECT_EQ(picture->get_Type(&type), S_OK);
  EXPECT_EQ(type, PICTYPE_BITMAP);
  ASSERT_EQ(picture->get_Handle(&handle), S_OK);
  BITMAP bitmap{};
  ASSERT_NE(GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof bitmap, &bitmap), 0);
  EXPECT_EQ(bitmap.bmWidth, 32);
  EXPECT_EQ(bitmap.bmHeight, 32);
  EXPECT_EQ(bitmap.bmBitsPixel, 32);
  ASSERT_NE(bitmap.bmBits, nullptr);
  const auto* pixels = static_cast<const std::uint8_t*>(bitmap.bmBits);
  int clear = 0, solid = 0;
  for (int i = 0; i < 32 * 32; ++i) {
    clear += pixels[4 * i + 3] == 0;
    solid += pixels[4 * i + 3] == 255;
  }
  EXPECT_GT(clear, 0);
  EXPECT_GT(solid, 200);

  // Every other ribbon (the other host's, a mail window's, none) gets no markup.
  for (const wchar_t* other : {office::MainRibbonId(GetParam() == HostKind::Word ? HostKind::Excel : HostKind::Word),
                               L"Microsoft.Outlook.Mail.Read", L""}) {
    office::Ribbon none = office::LoadRibbon(host, addIn.Get(), other);
    EXPECT_EQ(none.result, S_OK);
    EXPECT_EQ(none.markup, L"") << win::WideToUtf8(other);
  }
  EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
}

TEST_P(RibbonThroughDll, CallbacksAreAnsweredByNameOnlyAndOnlyWithAControl) {
  HostDouble host(GetParam());
  win::ComPtr<IDTExtensibility2> addIn = Connect(host);
  ASSERT_TRUE(addIn);
  office::Ribbon ribbon = office::LoadRibbon(host, addIn.Get());
  ASSERT_EQ(ribbon.buttons.size(), 1u);
  const RibbonButton& button = ribbon.buttons[0];

  win::Variant result;
  for (const wchar_t* unknown : {L"OnAction", L"ButtonClick", L"RibbonButtonClicks", L"GetCustomUI", L""})
    EXPECT_EQ(office::InvokeRibbonCallback(host, addIn.Get(), unknown, button, result.put()), DISP_E_UNKNOWNNAME)
        << win::WideToUtf8(unknown);

  // The callback found by name, called without a control or with something else: refused before
  // any board opens.
  win::ComPtr<IDispatch> dispatch;
  ASSERT_EQ(addIn.As(&dispatch), S_OK);
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(button.onAction.c_str())};
  ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, names, 1, 0x400, &id), S_OK);
  DISPPARAMS none{};
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_BADPARAMCOUNT);
  win::Variant notAControl(host.Application());
  DISPPARAMS wrong{const_cast<VARIANT*>(&notAControl.get()), nullptr, 1, 0};
  UINT argError = 99;
  EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &wrong, nullptr, nullptr, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  EXPECT_EQ(addin::BoardWindowsOfThisThread(), 0);
  EXPECT_TRUE(host.log().CallsTo(L"*", L"AddPicture").empty());
  EXPECT_EQ(addIn->OnDisconnection(0, nullptr), S_OK);
}

TEST_P(RibbonThroughDll, PressingTheRibbonButtonInsertsTheSignatureExactlyAsTheToolbarButtonDoes) {
  const Signed toolbar = SignOnce(false);
  const Signed ribbon = SignOnce(true);
  ASSERT_FALSE(toolbar.shape.picture.empty()) << "the toolbar click inserted nothing";
  EXPECT_EQ(ribbon.calls, toolbar.calls);
  EXPECT_EQ(ribbon.shape.picture, toolbar.shape.picture);  // the same signed board, byte for byte
  EXPECT_EQ(ribbon.shape.fileName, toolbar.shape.fileName);
  EXPECT_EQ(ribbon.shape.width, toolbar.shape.width);
  EXPECT_EQ(ribbon.shape.height, toolbar.shape.height);
  EXPECT_EQ(ribbon.shape.left, 100.0f);
  EXPECT_EQ(ribbon.shape.top, 100.0f);
  EXPECT_EQ(ribbon.shape.transparentBackground, toolbar.shape.transparentBackground);
  EXPECT_EQ(ribbon.shape.fillVisible, 0);
  EXPECT_EQ(addin::BoardWindowsOfThisThread(), 0);
  EXPECT_FALSE(addin::FileExists(L"C:\\00000001InkraWebWhirte.wmf"));
  EXPECT_EQ(dll.CanUnloadNow(), S_OK);  // every add-in made here is gone
}

INSTANTIATE_TEST_SUITE_P(BothHosts, RibbonThroughDll, ::testing::Values(HostKind::Word, HostKind::Excel),
                         [](const auto& info) { return std::string(Name(info.param)); });

}  // namespace
}  // namespace inkra::test
