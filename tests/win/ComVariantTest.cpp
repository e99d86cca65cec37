// The VARIANT owner: the types it builds, deep copies, moves and conversions.
#include <gtest/gtest.h>

#include "ComError.h"
#include "Variant.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/ComFailures.h"

namespace inkra::win {
namespace {

TEST(Variant, BuildsTheAutomationTypes) {
  EXPECT_EQ(Variant().vt(), VT_EMPTY);
  Variant i(7);
  EXPECT_EQ(i.vt(), VT_I4);
  EXPECT_EQ(i.get().lVal, 7);
  EXPECT_EQ(Variant(LONG(-3)).get().lVal, -3);
  Variant t(true), f(false);
  EXPECT_EQ(t.vt(), VT_BOOL);
  EXPECT_EQ(t.get().boolVal, VARIANT_TRUE);
  EXPECT_EQ(f.get().boolVal, VARIANT_FALSE);
  EXPECT_EQ(Variant(0.75).vt(), VT_R8);
  EXPECT_EQ(Variant(300.0f).vt(), VT_R4);
  EXPECT_EQ(Variant(300.0f).get().fltVal, 300.0f);
  Variant s(L"手写签名");
  EXPECT_EQ(s.vt(), VT_BSTR);
  EXPECT_EQ(SysStringLen(s.get().bstrVal), 4u);
  Variant missing = MissingArgument();
  EXPECT_EQ(missing.vt(), VT_ERROR);
  EXPECT_EQ(missing.get().scode, DISP_E_PARAMNOTFOUND);
  EXPECT_TRUE(missing.IsMissing());
  EXPECT_FALSE(Variant(0).IsMissing());
  VARIANT_BOOL flag = VARIANT_TRUE;
  Variant byRef = Variant::BoolByRef(&flag);
  EXPECT_EQ(byRef.vt(), VT_BOOL | VT_BYREF);
  EXPECT_EQ(byRef.get().pboolVal, &flag);
}

TEST(Variant, CopiesDeeplyAndMovesOwnership) {
  Variant a(L"text");
  Variant b(a);
  EXPECT_NE(a.get().bstrVal, b.get().bstrVal);
  EXPECT_EQ(b.ToString(), L"text");
  Variant c(std::move(a));
  EXPECT_EQ(a.vt(), VT_EMPTY);
  EXPECT_EQ(c.ToString(), L"text");
  b = Variant(5);
  EXPECT_EQ(b.vt(), VT_I4);
  c = b;
  EXPECT_EQ(c.ToInt32(), 5);
  VARIANT raw = c.Detach();
  EXPECT_EQ(c.vt(), VT_EMPTY);
  EXPECT_EQ(raw.vt, VT_I4);
}

TEST(Variant, ConvertsAsAutomationDoes) {
  EXPECT_EQ(Variant(L"42").ToInt32(), 42);
  EXPECT_EQ(Variant(42).ToString(), L"42");
  EXPECT_EQ(Variant(2.5).ToDouble(), 2.5);
  EXPECT_TRUE(Variant(-1).ToBool());
  EXPECT_FALSE(Variant(0).ToBool());
  EXPECT_EQ(Variant().ToString(), L"");
  EXPECT_EQ(test::FailureOf([] { Variant(L"not a number").ToInt32(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, ConvertsToAnObjectOrNothing) {
  test::Apartment apartment;
  test::office::HostDouble word(test::office::HostKind::Word);
  EXPECT_EQ(Variant().ToDispatch(), nullptr);
  EXPECT_EQ(Variant(static_cast<IDispatch*>(nullptr)).ToDispatch(), nullptr);
  EXPECT_EQ(Variant(word.Application()).ToDispatch().Get(), word.Application());
  VARIANT unknown;
  VariantInit(&unknown);
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = word.Application();
  word.Application()->AddRef();
  EXPECT_EQ(Variant::Attach(unknown).ToDispatch().Get(), word.Application());
  EXPECT_EQ(test::FailureOf([] { Variant(3).ToDispatch(); }), DISP_E_TYPEMISMATCH);
}

TEST(Variant, DescribesItself) {
  EXPECT_EQ(Variant(1).Describe(), L"VT_I4 1");
  EXPECT_EQ(Variant(L"a b").Describe(), L"VT_BSTR \"a b\"");
  EXPECT_EQ(MissingArgument().Describe(), L"VT_ERROR 0x80020004");
  EXPECT_EQ(VarTypeName(VT_BOOL | VT_BYREF), L"VT_BOOL|VT_BYREF");
}

}  // namespace
}  // namespace inkra::win
