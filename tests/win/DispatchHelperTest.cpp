// Late binding against the Office host double: what lands in DISPPARAMS, and how failures come back.
#include <gtest/gtest.h>

#include "ComError.h"
#include "Dispatch.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/ComFailures.h"

namespace inkra::win {
namespace {

using test::office::CallRecord;
using test::office::HostDouble;
using test::office::HostKind;

class DispatchHelper : public ::testing::Test {
 protected:
  test::Apartment apartment;
  HostDouble word{HostKind::Word};
  ComPtr<IDispatch> Bars() { return Get(word.Application(), L"CommandBars").ToDispatch(); }
  CallRecord Last() { return word.log().Calls().back(); }
};

TEST_F(DispatchHelper, PositionalArgumentsArriveInCallOrderWithTheirTypes) {
  ComPtr<IDispatch> bar = Call(Bars().Get(), L"Add", L"InkraSoft", 1, 0, false).ToDispatch();
  ASSERT_NE(bar, nullptr);
  CallRecord add = Last();
  EXPECT_EQ(add.object, L"CommandBars");
  EXPECT_EQ(add.member, L"Add");
  EXPECT_EQ(add.flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  EXPECT_EQ(add.locale, 0x400u);
  ASSERT_EQ(add.types, (std::vector<VARTYPE>{VT_BSTR, VT_I4, VT_I4, VT_BOOL}));
  EXPECT_EQ(add.args[0].ToString(), L"InkraSoft");
  EXPECT_EQ(add.args[1].ToInt32(), 1);
  EXPECT_EQ(add.args[2].ToInt32(), 0);
  EXPECT_EQ(add.args[3].get().boolVal, VARIANT_FALSE);
  EXPECT_TRUE(add.named.empty());
  // The host read them in that order too: the new bar has that name and position.
  EXPECT_EQ(word.profile().bars.back()->name, L"InkraSoft");
  EXPECT_EQ(word.profile().bars.back()->position, 1);
}

TEST_F(DispatchHelper, MissingArgumentsAndDoublesKeepTheirPlaces) {
  ComPtr<IDispatch> bars = Bars();
  Call(bars.Get(), L"Add", MissingArgument(), 4, MissingArgument(), true);
  CallRecord add = Last();
  ASSERT_EQ(add.types, (std::vector<VARTYPE>{VT_ERROR, VT_I4, VT_ERROR, VT_BOOL}));
  EXPECT_TRUE(add.args[0].IsMissing());
  EXPECT_TRUE(add.args[2].IsMissing());
  EXPECT_TRUE(word.profile().bars.back()->temporary);
}

TEST_F(DispatchHelper, PutPassesTheValueAsTheNamedPropertyPutArgument) {
  ComPtr<IDispatch> bar = Call(Bars().Get(), L"Add", L"T").ToDispatch();
  Put(bar.Get(), L"Visible", true);
  CallRecord put = Last();
  EXPECT_EQ(put.member, L"Visible");
  EXPECT_EQ(put.flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(put.named, (std::vector<DISPID>{DISPID_PROPERTYPUT}));
  ASSERT_EQ(put.types, (std::vector<VARTYPE>{VT_BOOL}));
  EXPECT_TRUE(word.profile().Find(L"T")->visible);
  EXPECT_TRUE(Get(bar.Get(), L"Visible").ToBool());
  EXPECT_EQ(Last().flags, DISPATCH_PROPERTYGET);
}

TEST_F(DispatchHelper, GetTakesIndexArguments) {
  ComPtr<IDispatch> bars = Bars();
  int count = Get(bars.Get(), L"Count").ToInt32();
  ASSERT_EQ(count, int(word.profile().bars.size()));
  ComPtr<IDispatch> second = Get(bars.Get(), L"Item", 2).ToDispatch();
  EXPECT_EQ(Get(second.Get(), L"Name").ToString(), word.profile().bars[1]->name);
}

TEST_F(DispatchHelper, CallsByFixedDispatchId) {
  test::office::HostDouble excel(HostKind::Excel);
  excel.Excel().AddWorkbook();
  ComPtr<IDispatch> sheet = Get(excel.Application(), L"ActiveSheet").ToDispatch();
  ComPtr<IDispatch> shapes = Get(sheet.Get(), L"Shapes").ToDispatch();
  // AddPicture by its id, with a file that is not there: the host's own failure comes back.
  const auto e = test::RaisedBy([&] {
    CallById(shapes.Get(), 0x6BB, DISPATCH_METHOD, L"C:\\nowhere\\x.bmp", 0, -1, 100.0f, 100.0f, 1.0f, 1.0f);
  });
  ASSERT_TRUE(e) << "no exception";
  EXPECT_NE(e->hr(), DISP_E_EXCEPTION);  // the exception's own code, not the wrapper
  EXPECT_TRUE(FAILED(e->hr()));
  EXPECT_EQ(e->description(), L"The specified file wasn't found.");
  CallRecord call = excel.log().Calls().back();
  EXPECT_EQ(call.dispid, 0x6BB);
  EXPECT_EQ(call.member, L"AddPicture");
  EXPECT_EQ(call.types, (std::vector<VARTYPE>{VT_BSTR, VT_I4, VT_I4, VT_R4, VT_R4, VT_R4, VT_R4}));
}

TEST_F(DispatchHelper, UsesTheGivenLocale) {
  test::office::HostDouble excel(HostKind::Excel);
  ComPtr<IDispatch> books = Get(excel.Application(), L"Workbooks").ToDispatch();
  CallWithLocale(books.Get(), L"Add", 0x800, MissingArgument());
  EXPECT_EQ(excel.log().Calls().back().locale, 0x800u);
  EXPECT_EQ(excel.Excel().workbooks.size(), 1u);
}

TEST_F(DispatchHelper, FailuresCarryTheFailingHresult) {
  ComPtr<IDispatch> app(word.Application());
  const auto unknown = test::RaisedBy([&] { Get(app.Get(), L"NoSuchMember"); });
  ASSERT_TRUE(unknown) << "no exception";
  EXPECT_EQ(unknown->hr(), DISP_E_UNKNOWNNAME);
  EXPECT_NE(unknown->description().find(L"NoSuchMember"), std::wstring::npos);
  word.log().FailCall(L"Application", L"Documents", E_ACCESSDENIED);
  EXPECT_EQ(test::FailureOf([&] { Get(app.Get(), L"Documents"); }), E_ACCESSDENIED);
  EXPECT_EQ(test::FailureOf([] { Get(nullptr, L"Name"); }), E_POINTER);
}

}  // namespace
}  // namespace inkra::win
