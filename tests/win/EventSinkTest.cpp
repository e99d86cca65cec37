// The command-bar button sink against the host double's button and connection point.
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include "ComPtr.h"
#include "MSOEventSink.h"
#include "OfficeIds.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::addin {
namespace {

using test::office::ControlState;
using test::office::HostDouble;
using test::office::HostKind;
using win::ComPtr;

class ButtonSink : public ::testing::Test {
 protected:
  void SetUp() override {
    baseline = TEventSink::LiveSinks();
    auto bar = std::make_shared<test::office::CommandBarState>();
    bar->name = L"InkraSoft";
    button = std::make_shared<ControlState>();
    bar->controls.push_back(button);
    word.profile().bars.push_back(bar);
    buttonObject = test::office::ControlObject(word, button);
    sink = new TCommandBarButtonEventsSink(inkra::office::DIID__CommandBarButtonEvents);
  }
  // Invokes the sink as a host would, arguments last-first.
  HRESULT InvokeSink(DISPID id, std::vector<VARIANT> args) {
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, UINT(args.size()), 0};
    return static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &params, nullptr, nullptr,
                                                 nullptr);
  }
  static VARIANT BoolRef(VARIANT_BOOL* target) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL | VT_BYREF;
    v.pboolVal = target;
    return v;
  }
  static VARIANT Object(IDispatch* object) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
  }
  // A sink that no source holds is deleted by a reference taken and dropped.
  void Dispose() {
    sink->AddRef();
    sink->Release();
  }

  test::Apartment apartment;
  HostDouble word{HostKind::Word};
  std::shared_ptr<ControlState> button;
  ComPtr<IDispatch> buttonObject;
  TCommandBarButtonEventsSink* sink = nullptr;  // not owned
  long baseline = 0;
};

TEST_F(ButtonSink, AnswersOnlyTheEventInterfaceAndItsIdentity) {
  void* event = nullptr;
  void* unknown = nullptr;
  ASSERT_EQ(sink->QueryInterface(inkra::office::DIID__CommandBarButtonEvents, &event), S_OK);
  ASSERT_EQ(sink->QueryInterface(IID_IUnknown, &unknown), S_OK);
  EXPECT_EQ(event, static_cast<IDispatch*>(sink));
  EXPECT_EQ(unknown, static_cast<IUnknown*>(static_cast<IDispatch*>(sink)));
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(sink->QueryInterface(IID_IConnectionPoint, &other), E_NOINTERFACE);
  static_cast<IUnknown*>(event)->Release();
  EXPECT_EQ(static_cast<IUnknown*>(unknown)->Release(), 0u);  // the last reference: destroyed
  EXPECT_EQ(TEventSink::LiveSinks(), baseline);
}

TEST_F(ButtonSink, HasNoTypeInformationAndLeavesOutputsAlone) {
  UINT count = 77;
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(0x10);
  DISPID id = 55;
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"Click")};
  EXPECT_EQ(sink->GetTypeInfoCount(&count), E_NOTIMPL);
  EXPECT_EQ(sink->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(sink->GetIDsOfNames(IID_NULL, names, 1, 0, &id), E_NOTIMPL);
  EXPECT_EQ(count, 77u);
  EXPECT_EQ(info, reinterpret_cast<ITypeInfo*>(0x10));
  EXPECT_EQ(id, 55);
  Dispose();
}

TEST_F(ButtonSink, ClickWithoutHandlerIsAnsweredAndIgnored) {
  VARIANT_BOOL cancel = VARIANT_TRUE;
  EXPECT_EQ(InvokeSink(1, {BoolRef(&cancel), Object(buttonObject.Get())}), S_OK);
  EXPECT_EQ(cancel, VARIANT_TRUE);
  Dispose();
}

TEST_F(ButtonSink, OtherEventsAndArgumentCountsAreNotMembers) {
  int calls = 0;
  sink->OnClick = [&](IDispatch*, VARIANT_BOOL&) { ++calls; };
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(InvokeSink(1, {BoolRef(&cancel)}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(InvokeSink(1, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(InvokeSink(1, {BoolRef(&cancel), Object(buttonObject.Get()), Object(nullptr)}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(InvokeSink(2, {BoolRef(&cancel), Object(buttonObject.Get())}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(calls, 0);
  TEventSink* plain = new TEventSink(inkra::office::DIID__CommandBarButtonEvents);
  plain->AddRef();
  DISPPARAMS none{};
  EXPECT_EQ(plain->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);
  plain->Release();
  Dispose();
}

TEST_F(ButtonSink, TheHandlerGetsTheButtonAndMaySetCancelDefault) {
  ASSERT_TRUE(sink->Connect(buttonObject.Get()));
  IDispatch* seenCtrl = nullptr;  // valid only during the event
  bool ctrlIsTheButton = false;
  std::vector<VARIANT_BOOL> seenCancel;
  bool setCancel = true;
  sink->OnClick = [&](IDispatch* ctrl, VARIANT_BOOL& cancel) {
    seenCtrl = ctrl;
    ComPtr<IUnknown> asButton;
    ctrlIsTheButton = ctrl && SUCCEEDED(ctrl->QueryInterface(inkra::office::IID__CommandBarButton,
                                                              reinterpret_cast<void**>(asButton.GetAddressOf())));
    seenCancel.push_back(cancel);
    if (setCancel) cancel = VARIANT_TRUE;
  };
  VARIANT_BOOL cancel = VARIANT_FALSE;
  EXPECT_EQ(test::office::FireClick(word, *button, cancel), S_OK);
  EXPECT_EQ(cancel, VARIANT_TRUE);
  EXPECT_TRUE(ctrlIsTheButton);

  // A handler that leaves the flag writes back what came in, either value.
  setCancel = false;
  cancel = VARIANT_TRUE;
  EXPECT_EQ(test::office::FireClick(word, *button, cancel), S_OK);
  EXPECT_EQ(cancel, VARIANT_TRUE);
  cancel = VARIANT_FALSE;
  EXPECT_EQ(test::office::FireClick(word, *button, cancel), S_OK);
  EXPECT_EQ(cancel, VARIANT_FALSE);
  EXPECT_EQ(seenCancel, (std::vector<VARIANT_BOOL>{VARIANT_FALSE, VARIANT_TRUE, VARIANT_FALSE}));

  // Ctrl is passed on as the host gave it.
  VARIANT_BOOL flag = VARIANT_FALSE;
  EXPECT_EQ(InvokeSink(1, {BoolRef(&flag), Object(buttonObject.Get())}), S_OK);
  EXPECT_EQ(seenCtrl, buttonObject.Get());
  EXPECT_TRUE(sink->Disconnect(buttonObject.Get()));
}

TEST_F(ButtonSink, ConnectingTwiceLeavesOneConnection) {
  ASSERT_TRUE(sink->Connect(buttonObject.Get()));
  DWORD first = sink->Connection();
  EXPECT_NE(first, 0u);
  ASSERT_TRUE(sink->Connect(buttonObject.Get()));
  EXPECT_NE(sink->Connection(), first);
  ASSERT_EQ(button->sinks.size(), 1u);
  EXPECT_EQ(button->sinks[0].first, sink->Connection());
  std::vector<std::wstring> order;
  for (auto& call : word.log().CallsTo(L"ConnectionPoint", L"*")) order.push_back(call.member);
  EXPECT_EQ(order, (std::vector<std::wstring>{L"Advise", L"Unadvise", L"Advise"}));
  EXPECT_EQ(TEventSink::LiveSinks(), baseline + 1);
  EXPECT_TRUE(sink->Disconnect(buttonObject.Get()));
}

TEST_F(ButtonSink, DisconnectingDestroysTheSink) {
  ASSERT_TRUE(sink->Connect(buttonObject.Get()));
  EXPECT_EQ(TEventSink::LiveSinks(), baseline + 1);
  EXPECT_TRUE(sink->Disconnect(buttonObject.Get()));
  EXPECT_TRUE(button->sinks.empty());
  EXPECT_EQ(TEventSink::LiveSinks(), baseline);
}

TEST_F(ButtonSink, AFailedUnadviseKeepsTheConnection) {
  ASSERT_TRUE(sink->Connect(buttonObject.Get()));
  DWORD cookie = sink->Connection();
  word.log().FailCall(L"ConnectionPoint", L"Unadvise", E_FAIL);
  EXPECT_FALSE(sink->Disconnect(buttonObject.Get()));
  EXPECT_EQ(sink->Connection(), cookie);
  EXPECT_EQ(TEventSink::LiveSinks(), baseline + 1);
  word.log().ClearRules();
  EXPECT_TRUE(sink->Disconnect(buttonObject.Get()));
  EXPECT_EQ(TEventSink::LiveSinks(), baseline);
}

TEST_F(ButtonSink, ASourceWithoutTheConnectionPointLeavesItUnconnected) {
  ComPtr<IDispatch> bars;
  word.Application()->QueryInterface(IID_PPV_ARGS(&bars));  // an object with no connection points
  EXPECT_FALSE(sink->Connect(bars.Get()));
  EXPECT_EQ(sink->Connection(), 0u);
  EXPECT_TRUE(sink->Disconnect(bars.Get()));
  word.log().FailCall(L"ConnectionPoint", L"Advise", CONNECT_E_ADVISELIMIT);
  EXPECT_FALSE(sink->Connect(buttonObject.Get()));
  EXPECT_EQ(sink->Connection(), 0u);
  EXPECT_TRUE(button->sinks.empty());
  EXPECT_EQ(TEventSink::LiveSinks(), baseline + 1);  // still its creator's
  Dispose();
  EXPECT_EQ(TEventSink::LiveSinks(), baseline);
}

}  // namespace
}  // namespace inkra::addin
