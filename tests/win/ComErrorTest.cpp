// The one error path: ComError, ThrowIfFailed and the boundary that host-called methods run under.
#include <gtest/gtest.h>

#include <stdexcept>

#include "BStr.h"
#include "ComError.h"
#include "ComPtr.h"
#include "hostdouble/Apartment.h"
#include "support/ComFailures.h"

namespace inkra::win {
namespace {

const IID kSomeIid = {0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}};

using test::ErrorInformation;
using test::RaisedBy;
using test::TakeErrorInfo;

class ComBoundaryTest : public ::testing::Test {
 protected:
  test::Apartment apartment;
  void SetUp() override { SetErrorInfo(0, nullptr); }
};

TEST_F(ComBoundaryTest, AComErrorGivesItsOwnHresultAndErrorInformation) {
  HRESULT hr = ComBoundary(L"MSOAddIn.WordAddIn", kSomeIid,
                           [] { throw ComError(DISP_E_TYPEMISMATCH, L"类型不匹配"); });
  EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
  ErrorInformation info = TakeErrorInfo();
  ASSERT_TRUE(info.present);
  EXPECT_EQ(info.description, L"类型不匹配");
  EXPECT_EQ(info.source, L"MSOAddIn.WordAddIn");
  EXPECT_TRUE(IsEqualGUID(info.guid, kSomeIid));
}

TEST_F(ComBoundaryTest, AnyOtherExceptionIsUnexpected) {
  HRESULT hr = ComBoundary(L"MSOAddIn.ExcelAddIn", kSomeIid, [] { throw std::runtime_error("bad thing ✓"); });
  EXPECT_EQ(hr, E_UNEXPECTED);
  ErrorInformation info = TakeErrorInfo();
  EXPECT_EQ(info.description, L"bad thing ✓");
  EXPECT_EQ(info.source, L"MSOAddIn.ExcelAddIn");

  EXPECT_EQ(ComBoundary(L"x", kSomeIid, [] { throw 42; }), E_UNEXPECTED);
  EXPECT_TRUE(TakeErrorInfo().present);
}

TEST_F(ComBoundaryTest, ABodyThatSucceedsLeavesNoErrorInformation) {
  int ran = 0;
  EXPECT_EQ(ComBoundary(L"x", kSomeIid, [&] { ++ran; }), S_OK);
  EXPECT_EQ(ComBoundary(L"x", kSomeIid, [&]() -> HRESULT { ++ran; return S_FALSE; }), S_FALSE);
  EXPECT_EQ(ran, 2);
  EXPECT_FALSE(TakeErrorInfo().present);
}

TEST(ThrowIfFailed, RaisesOnlyForFailures) {
  EXPECT_NO_THROW(ThrowIfFailed(S_OK, L"x"));
  EXPECT_NO_THROW(ThrowIfFailed(S_FALSE, L"x"));
  const auto e = RaisedBy([] { ThrowIfFailed(E_NOINTERFACE, L"QueryInterface(_CommandBars)"); });
  ASSERT_TRUE(e) << "no exception";
  EXPECT_EQ(e->hr(), E_NOINTERFACE);
  EXPECT_EQ(e->description().rfind(L"QueryInterface(_CommandBars) failed", 0), 0u);
  EXPECT_NE(e->description().find(L"0x80004002"), std::wstring::npos);
  EXPECT_NE(std::string(e->what()).find("QueryInterface(_CommandBars)"), std::string::npos);
}

TEST(BStr, OwnsAndMoves) {
  BStr a(std::wstring_view(L"a\0b", 3));
  EXPECT_EQ(SysStringLen(a.get()), 3u);
  EXPECT_EQ(a.str(), std::wstring(L"a\0b", 3));
  BStr b(std::move(a));
  EXPECT_EQ(a.get(), nullptr);
  EXPECT_EQ(b.str().size(), 3u);
  BSTR raw = b.release();
  EXPECT_EQ(b.get(), nullptr);
  SysFreeString(raw);
  EXPECT_EQ(BStr().str(), L"");
}

}  // namespace
}  // namespace inkra::win
