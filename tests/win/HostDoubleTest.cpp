// The Office host double answers as Office does: collections from 1, FindControl's Nothing, Excel's
// fixed dispatch ids, argument coercion and its errors, pictures read at insertion, profiles that
// outlive applications, and the failure rules.
#include <ocidl.h>

#include <gtest/gtest.h>

#include "Bmp.h"
#include "ByteSink.h"
#include "ComError.h"
#include "Dispatch.h"
#include "OfficeIds.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/OfficeDouble.h"
#include "support/BoardDriver.h"
#include "support/ComFailures.h"

namespace inkra::test::office {
namespace {

using win::ComPtr;
using win::Variant;

// A picture of the given size as a BMP file in the temporary folder.
std::wstring BmpFile(const wchar_t* name, int width, int height) {
  const std::wstring path = TempPath(name);
  VectorSink bmp;
  inkra::WriteBmp(Bitmap(width, height, 24), bmp);
  WriteFileBytes(path, bmp.data);
  return path;
}

class WordDouble : public ::testing::Test {
 protected:
  Apartment apartment;
  std::shared_ptr<Profile> profile = NewProfile(HostKind::Word);
  HostDouble word{HostKind::Word, profile};
  ComPtr<IDispatch> Bars() { return win::Get(word.Application(), L"CommandBars").ToDispatch(); }
};

TEST_F(WordDouble, CollectionsCountFromOneAndFindBarsByName) {
  ComPtr<IDispatch> bars = Bars();
  int count = win::Get(bars.Get(), L"Count").ToInt32();
  ASSERT_EQ(count, int(profile->bars.size()));
  EXPECT_EQ(win::Get(win::Get(bars.Get(), L"Item", 1).ToDispatch().Get(), L"Name").ToString(), profile->bars[0]->name);
  EXPECT_EQ(win::Get(win::Get(bars.Get(), L"Item", count).ToDispatch().Get(), L"Name").ToString(),
            profile->bars.back()->name);
  EXPECT_EQ(win::Get(win::Get(bars.Get(), L"Item", L"sTaNdArD").ToDispatch().Get(), L"Name").ToString(),
            L"Standard");
  EXPECT_EQ(FailureOf([&] { win::Get(bars.Get(), L"Item", 0); }), E_INVALIDARG);
  EXPECT_EQ(FailureOf([&] { win::Get(bars.Get(), L"Item", count + 1); }), E_INVALIDARG);
}

TEST_F(WordDouble, FindControlGivesTheFirstMatchOrNothing) {
  ComPtr<IDispatch> bar = win::Call(Bars().Get(), L"Add", L"InkraSoft", 1, 0, false).ToDispatch();
  ComPtr<IDispatch> controls = win::Get(bar.Get(), L"Controls").ToDispatch();
  Variant none = win::Call(bar.Get(), L"FindControl", 1, 1, L"tag", 1, 1);
  EXPECT_EQ(none.vt(), VT_DISPATCH);
  EXPECT_EQ(none.get().pdispVal, nullptr);
  for (const wchar_t* tag : {L"other", L"tag", L"tag"}) {
    ComPtr<IDispatch> b = win::Call(controls.Get(), L"Add", 1, 1, 0, win::MissingArgument(), false).ToDispatch();
    win::Put(b.Get(), L"Tag", tag);
  }
  CommandBarState* state = profile->Find(L"InkraSoft");
  state->controls[1]->caption = L"second";
  ComPtr<IDispatch> found = win::Call(bar.Get(), L"FindControl", 1, 1, L"tag", 1, 1).ToDispatch();
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(win::Get(found.Get(), L"Caption").ToString(), L"second");
  state->controls[1]->visible = false;
  state->controls[2]->caption = L"third";
  found = win::Call(bar.Get(), L"FindControl", 1, 1, L"tag", 1, 1).ToDispatch();
  EXPECT_EQ(win::Get(found.Get(), L"Caption").ToString(), L"third");
  EXPECT_EQ(win::Call(bar.Get(), L"FindControl", 1, 2, L"tag").ToDispatch(), nullptr);
}

TEST_F(WordDouble, ControlsInsertBeforeAndButtonsAnswerTheirInterfaces) {
  ComPtr<IDispatch> bar = win::Call(Bars().Get(), L"Add", L"X").ToDispatch();
  ComPtr<IDispatch> controls = win::Get(bar.Get(), L"Controls").ToDispatch();
  ComPtr<IDispatch> a = win::Call(controls.Get(), L"Add", 1).ToDispatch();
  ComPtr<IDispatch> b = win::Call(controls.Get(), L"Add", 1, 1, 0, 1).ToDispatch();  // before the first
  win::Put(a.Get(), L"Caption", L"a");
  win::Put(b.Get(), L"Caption", L"b");
  EXPECT_EQ(win::Get(win::Get(controls.Get(), L"Item", 1).ToDispatch().Get(), L"Caption").ToString(), L"b");
  EXPECT_EQ(win::Get(controls.Get(), L"Count").ToInt32(), 2);
  ComPtr<IUnknown> typed, container;
  EXPECT_EQ(a->QueryInterface(inkra::office::IID__CommandBarButton, reinterpret_cast<void**>(typed.GetAddressOf())),
            S_OK);
  EXPECT_EQ(a->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(container.GetAddressOf())),
            S_OK);
  ComPtr<IDispatch> popup = win::Call(controls.Get(), L"Add", 10).ToDispatch();
  ComPtr<IUnknown> notButton;
  EXPECT_EQ(popup->QueryInterface(inkra::office::IID__CommandBarButton,
                                  reinterpret_cast<void**>(notButton.GetAddressOf())),
            E_NOINTERFACE);
}

TEST_F(WordDouble, AProfileOutlivesItsApplication) {
  {
    HostDouble first(HostKind::Word, profile);
    ComPtr<IDispatch> bars = win::Get(first.Application(), L"CommandBars").ToDispatch();
    win::Call(bars.Get(), L"Add", L"InkraSoft", 1, 0, false);
  }
  HostDouble second(HostKind::Word, profile);
  ComPtr<IDispatch> bars = win::Get(second.Application(), L"CommandBars").ToDispatch();
  ComPtr<IDispatch> bar = win::Get(bars.Get(), L"Item", L"InkraSoft").ToDispatch();
  EXPECT_EQ(win::Get(bar.Get(), L"Position").ToInt32(), msoBarTop);
  // Same exact name twice is refused; another letter case is another bar.
  EXPECT_EQ(FailureOf([&] { win::Call(bars.Get(), L"Add", L"InkraSoft"); }), E_INVALIDARG);
  win::Call(bars.Get(), L"Add", L"inkrasoft");
  EXPECT_EQ(profile->Count(L"InkraSoft"), 1);
  EXPECT_EQ(profile->Count(L"inkrasoft"), 1);
  win::Call(bar.Get(), L"Delete");
  EXPECT_EQ(profile->Find(L"InkraSoft"), nullptr);
  EXPECT_EQ(FailureOf([&] { win::Get(bar.Get(), L"Name"); }), E_FAIL);
}

TEST_F(WordDouble, ArgumentsAreCoercedOrRefused) {
  ComPtr<IDispatch> bar = win::Call(Bars().Get(), L"Add", L"X").ToDispatch();
  ComPtr<IDispatch> controls = win::Get(bar.Get(), L"Controls").ToDispatch();
  win::Call(controls.Get(), L"Add", L"1", 2.0);  // text and double as Office would take them
  EXPECT_EQ(profile->Find(L"X")->controls[0]->id, 2);
  EXPECT_EQ(FailureOf([&] { win::Call(controls.Get(), L"Add", L"button"); }), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(FailureOf([&] { win::Call(controls.Get(), L"Add", 1, 1, 0, 1, false, 6); }), DISP_E_BADPARAMCOUNT);
  // A missing required argument, and a method called as a property put.
  ComPtr<IDispatch> bars = Bars();
  EXPECT_EQ(FailureOf([&] { win::Get(bars.Get(), L"Item"); }), DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(FailureOf([&] { win::Put(bar.Get(), L"Delete", 1); }), DISP_E_MEMBERNOTFOUND);
}

TEST_F(WordDouble, WordInsertsAPictureReadAtOnce) {
  std::wstring file = BmpFile(L"hostdouble-word.bmp", 40, 30);
  ComPtr<IDispatch> docs = win::Get(word.Application(), L"Documents").ToDispatch();
  EXPECT_EQ(FailureOf([&] { win::Get(word.Application(), L"ActiveDocument"); }), HRESULT(0x800A1098));
  win::Call(docs.Get(), L"Add", win::MissingArgument(), win::MissingArgument(), win::MissingArgument(),
            win::MissingArgument());
  ComPtr<IDispatch> app = win::Get(docs.Get(), L"Application").ToDispatch();
  ComPtr<IDispatch> doc = win::Get(app.Get(), L"ActiveDocument").ToDispatch();
  ComPtr<IDispatch> shapes = win::Get(doc.Get(), L"Shapes").ToDispatch();
  ComPtr<IDispatch> shape = win::Call(shapes.Get(), L"AddPicture", file, false, true, 100, 100, 30.0, 22.5,
                                      win::MissingArgument())
                                .ToDispatch();
  DeleteFileW(file.c_str());
  ASSERT_EQ(word.Word().documents.size(), 1u);
  ShapeState& s = *word.Word().documents[0]->shapes.items.at(0);
  EXPECT_EQ(s.pixelWidth, 40u);
  EXPECT_EQ(s.pixelHeight, 30u);
  EXPECT_EQ(s.width, 30.0f);
  EXPECT_EQ(s.height, 22.5f);
  EXPECT_EQ(s.left, 100.0f);
  EXPECT_FALSE(s.hasAnchor);
  win::Call(shape.Get(), L"ZOrder", 4);
  win::Put(win::Get(shape.Get(), L"WrapFormat").ToDispatch().Get(), L"Type", 3);
  EXPECT_EQ(s.zOrders, std::vector<int>{4});
  EXPECT_EQ(s.wrapType, 3);
  EXPECT_EQ(FailureOf([&] { win::Call(shape.Get(), L"ZOrder"); }), DISP_E_PARAMNOTFOUND);
  // The file is gone now: Word cannot find it.
  EXPECT_EQ(FailureOf([&] { win::Call(shapes.Get(), L"AddPicture", file); }), HRESULT(0x800A1436));
}

TEST_F(WordDouble, FailureRulesAndMissingMembers) {
  ComPtr<IDispatch> app(word.Application());
  word.log().Lack(L"Application", L"CommandBars");
  EXPECT_EQ(FailureOf([&] { win::Get(app.Get(), L"CommandBars"); }), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(FailureOf([&] { win::CallById(app.Get(), 0x39, DISPATCH_PROPERTYGET); }), DISP_E_MEMBERNOTFOUND);
  word.log().FailCall(L"Application", L"*", E_OUTOFMEMORY, L"busy");
  const auto busy = RaisedBy([&] { win::Get(app.Get(), L"Name"); });
  ASSERT_TRUE(busy);
  EXPECT_EQ(busy->hr(), E_OUTOFMEMORY);
  EXPECT_EQ(busy->description(), L"busy");
  EXPECT_EQ(word.log().Calls().back().result, DISP_E_EXCEPTION);
  ComPtr<IUnknown> typed;
  EXPECT_EQ(app->QueryInterface(inkra::office::IID_WordApplication, reinterpret_cast<void**>(typed.GetAddressOf())),
            S_OK);
  EXPECT_EQ(app->QueryInterface(inkra::office::IID_ExcelApplication, reinterpret_cast<void**>(typed.GetAddressOf())),
            E_NOINTERFACE);
}

TEST(ExcelDouble, InsertsByFixedDispatchIdsAndRefusesChartSheets) {
  Apartment apartment;
  HostDouble excel(HostKind::Excel);
  ComPtr<IDispatch> app(excel.Application());
  EXPECT_EQ(win::Get(app.Get(), L"ActiveWorkbook").ToDispatch(), nullptr);  // Nothing
  win::CallWithLocale(win::Get(app.Get(), L"Workbooks").ToDispatch().Get(), L"Add", 0x800, win::MissingArgument());
  ComPtr<IDispatch> book = win::Get(app.Get(), L"ActiveWorkbook").ToDispatch();
  ComPtr<IDispatch> sheet = win::Get(book.Get(), L"ActiveSheet").ToDispatch();
  ComPtr<IUnknown> typed;
  EXPECT_EQ(sheet->QueryInterface(inkra::office::IID_ExcelWorksheet, reinterpret_cast<void**>(typed.GetAddressOf())),
            S_OK);
  ComPtr<IDispatch> shapes = win::Get(sheet.Get(), L"Shapes").ToDispatch();
  std::wstring file = BmpFile(L"hostdouble-excel.bmp", 8, 4);
  ComPtr<IDispatch> shape =
      win::CallById(shapes.Get(), 0x6BB, DISPATCH_METHOD, file, 0, -1, 100.0f, 100.0f, 6.0f, 3.0f).ToDispatch();
  DeleteFileW(file.c_str());
  win::CallById(shape.Get(), 0xEB, DISPATCH_METHOD, Variant());
  ComPtr<IDispatch> format = win::CallById(shape.Get(), 0x65F, DISPATCH_PROPERTYGET).ToDispatch();
  win::Put(format.Get(), L"TransparentBackground", -1);
  win::Put(format.Get(), L"TransparencyColor", 16777215);
  win::Put(win::CallById(shape.Get(), 0x67F, DISPATCH_PROPERTYGET).ToDispatch().Get(), L"Visible", 0);
  ShapeState& s = *excel.Excel().workbooks[0]->sheets[0]->shapes.items.at(0);
  EXPECT_EQ(s.name, L"Picture 1");
  EXPECT_EQ(s.pixelWidth, 8u);
  EXPECT_EQ(s.pixelHeight, 4u);
  EXPECT_EQ(s.width, 6.0f);
  EXPECT_FALSE(s.linkToFile);
  EXPECT_TRUE(s.saveWithDocument);
  EXPECT_EQ(s.selectCalls, 1);
  EXPECT_EQ(s.transparentBackground, -1);
  EXPECT_EQ(s.transparencyColor, 16777215);
  EXPECT_EQ(s.fillVisible, 0);
  // The names lead to the same members.
  EXPECT_EQ(win::DispIdOf(shapes.Get(), L"AddPicture"), 0x6BB);
  EXPECT_EQ(win::DispIdOf(shape.Get(), L"Select"), 0xEB);
  // Excel's AddPicture takes all seven arguments.
  EXPECT_EQ(FailureOf([&] { win::CallById(shapes.Get(), 0x6BB, DISPATCH_METHOD, file); }), DISP_E_PARAMNOTFOUND);

  auto chart = std::make_shared<SheetState>();
  chart->name = L"Chart1";
  chart->chart = true;
  excel.Excel().workbooks[0]->sheets.push_back(chart);
  excel.Excel().workbooks[0]->activeSheet = 3;
  ComPtr<IDispatch> chartSheet = win::Get(app.Get(), L"ActiveSheet").ToDispatch();
  EXPECT_EQ(win::Get(chartSheet.Get(), L"Name").ToString(), L"Chart1");
  EXPECT_EQ(chartSheet->QueryInterface(inkra::office::IID_ExcelWorksheet,
                                       reinterpret_cast<void**>(typed.ReleaseAndGetAddressOf())),
            E_NOINTERFACE);
  EXPECT_EQ(chartSheet->QueryInterface(inkra::office::IID_ExcelChart,
                                       reinterpret_cast<void**>(typed.ReleaseAndGetAddressOf())),
            S_OK);
}

TEST_F(WordDouble, TheNthCallFailsWhateverItIsNameLookupsAndConnectionPointsIncluded) {
  ComPtr<IDispatch> app(word.Application());
  // Get(Name) is two calls: the name lookup, then Invoke.
  word.log().FailNthCall(1, E_FAIL);
  EXPECT_EQ(FailureOf([&] { win::Get(app.Get(), L"Name"); }), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(word.log().CallsCounted(), 1);
  word.log().FailNthCall(2, E_FAIL);
  EXPECT_EQ(FailureOf([&] { win::Get(app.Get(), L"Name"); }), E_FAIL);
  EXPECT_EQ(FailureOf([&] { win::Get(app.Get(), L"Name"); }), S_OK);  // one failure, then Word again
  EXPECT_EQ(word.log().CallsCounted(), 4);

  ComPtr<IDispatch> bar = win::Call(Bars().Get(), L"Add", L"InkraSoft", 1, 0, false).ToDispatch();
  ComPtr<IDispatch> controls = win::Get(bar.Get(), L"Controls").ToDispatch();
  ComPtr<IDispatch> button = win::Call(controls.Get(), L"Add", 1).ToDispatch();
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(button.As(&container), S_OK);
  ComPtr<IConnectionPoint> point;
  word.log().FailNthCall(1, E_FAIL);
  EXPECT_EQ(container->FindConnectionPoint(inkra::office::DIID__CommandBarButtonEvents, point.GetAddressOf()), E_FAIL);
  ASSERT_EQ(container->FindConnectionPoint(inkra::office::DIID__CommandBarButtonEvents, point.GetAddressOf()), S_OK);
  word.log().FailNthCall(1, E_FAIL);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(nullptr, &cookie), E_FAIL);
  EXPECT_EQ(word.log().Calls().back().result, E_FAIL);
}

TEST(ExcelDouble, AFileThatIsNoPictureIsRefused) {
  Apartment apartment;
  HostDouble excel(HostKind::Excel);
  excel.Excel().AddWorkbook();
  ComPtr<IDispatch> sheet = win::Get(excel.Application(), L"ActiveSheet").ToDispatch();
  ComPtr<IDispatch> shapes = win::Get(sheet.Get(), L"Shapes").ToDispatch();
  const std::wstring file = TempPath(L"hostdouble-text.bmp");
  const std::string text = "not a picture at all";
  WriteFileBytes(file, std::vector<std::uint8_t>(text.begin(), text.end()));
  HRESULT hr = FailureOf([&] { win::CallById(shapes.Get(), 0x6BB, DISPATCH_METHOD, file, 0, -1, 1.0f, 1.0f, 1.0f, 1.0f); });
  DeleteFileW(file.c_str());
  EXPECT_TRUE(FAILED(hr));
  EXPECT_NE(hr, HRESULT(0x800A1436));  // not "not found": found but unreadable
  EXPECT_TRUE(excel.Excel().workbooks[0]->sheets[0]->shapes.items.empty());
}

}  // namespace
}  // namespace inkra::test::office
