#pragma once
// The Word add-in against the Office host double: a subclass that shows its fields and counts
// clicks, and a fixture that connects it to a Word double.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EventSink.h"
#include "TextConvert.h"
#include "WordAddIn_IMPL.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::addin {

class ExposedWordAddIn : public TWordAddIn {
 public:
  IDispatch* toolbar() const { return Toolbar.Get(); }
  IDispatch* button() const { return Button.Get(); }
  TCommandBarButtonEventsSink* sink() const { return ButtonSink; }

  bool countOnly = false;  // clicks are counted and go no further
  int clicks = 0;
  void ButtonClick(IDispatch* ctrl, VARIANT_BOOL& cancel) override {
    ++clicks;
    if (!countOnly) TWordAddIn::ButtonClick(ctrl, cancel);
  }
};

// "Object.Member" of every call in the log, in order.
inline std::vector<std::wstring> CallNames(const test::office::CallLog& log) {
  std::vector<std::wstring> names;
  for (const auto& call : log.Calls()) names.push_back(call.object + L"." + call.member);
  return names;
}

// Each argument of a call as its type and value, "VT_I4 1".
inline std::vector<std::wstring> ArgsOf(const test::office::CallRecord& call) {
  std::vector<std::wstring> args;
  for (const auto& arg : call.args) args.push_back(arg.Describe());
  return args;
}

// The one call of object.member in the log (fails the test when there is not exactly one).
inline test::office::CallRecord OnlyCall(const test::office::CallLog& log, const wchar_t* object,
                                         const wchar_t* member) {
  auto calls = log.CallsTo(object, member);
  EXPECT_EQ(calls.size(), 1u) << "calls to " << win::WideToUtf8(object) << "." << win::WideToUtf8(member);
  return calls.empty() ? test::office::CallRecord{} : calls.front();
}

class WordAddInTest : public ::testing::Test {
 protected:
  using HostDouble = test::office::HostDouble;
  using HostKind = test::office::HostKind;

  win::ComPtr<ExposedWordAddIn> NewAddIn() { return win::Adopt(new ExposedWordAddIn); }
  HRESULT Connect(const win::ComPtr<ExposedWordAddIn>& addIn, HostDouble& host) {
    return addIn->OnConnection(host.Application(), 0, nullptr, nullptr);
  }

  test::Apartment apartment;
};

}  // namespace inkra::addin
