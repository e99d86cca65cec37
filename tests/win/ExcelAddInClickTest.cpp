// A click on the Excel add-in's button, end to end: the real board driven by the UI driver, the
// picture inserted onto the active worksheet of the Excel host double by Excel's fixed dispatch
// ids and argument types, onto a chart sheet too, into a new workbook when only hidden ones are
// open.
#include "ExcelAddIn_IMPL.h"

#include "TextConvert.h"
#include "ToolbarClickSupport.h"
#include "WordAddInTestSupport.h"  // CallNames, OnlyCall

namespace inkra::addin {
namespace {

using test::office::CallRecord;
using test::office::HostKind;
using test::office::ShapeState;
using test::office::SheetState;

class ExcelClick : public HostClick {
 protected:
  ExcelClick() : HostClick(HostKind::Excel, new TExcelAddIn) {}
  SheetState& Sheet(size_t book, size_t sheet) { return *host.Excel().workbooks.at(book)->sheets.at(sheet); }
};

TEST_F(ExcelClick, TheToolbarAndButtonLiveInExcelsOwnCommandBars) {
  const auto* bar = host.profile().Find(L"InkraSoft");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->position, 1);
  EXPECT_TRUE(bar->visible);
  ASSERT_EQ(bar->controls.size(), 1u);
  EXPECT_EQ(bar->controls[0]->tag, L"手写签名$$$");
  EXPECT_EQ(bar->controls[0]->caption, L"手写签名");
  EXPECT_EQ(bar->controls[0]->sinks.size(), 1u);
}

TEST_F(ExcelClick, ABoardOf400By300GoesOntoTheActiveWorksheetByExcelsDispatchIdsAndTypes) {
  OpenWorkbook();
  Click(&ConfirmPicture);

  ASSERT_EQ(Sheet(0, 1).shapes.items.size(), 1u);
  EXPECT_TRUE(Sheet(0, 0).shapes.items.empty());
  const ShapeState& shape = *Sheet(0, 1).shapes.items[0];
  EXPECT_EQ(shape.fileName, handOff);
  EXPECT_EQ(shape.pixelWidth, 400u);
  EXPECT_EQ(shape.left, 100.0f);
  EXPECT_EQ(shape.top, 100.0f);
  EXPECT_EQ(shape.width, 300.0f);
  EXPECT_EQ(shape.height, 225.0f);
  EXPECT_FALSE(shape.linkToFile);
  EXPECT_TRUE(shape.saveWithDocument);
  EXPECT_EQ(shape.name, L"Picture 1");  // Excel's own name is kept
  EXPECT_EQ(shape.selectCalls, 1);
  EXPECT_EQ(shape.transparentBackground, -1);
  EXPECT_EQ(shape.transparencyColor, 0xFFFFFF);
  EXPECT_EQ(shape.fillVisible, 0);
  EXPECT_EQ(shape.wrapType, 0);  // Word's wrapping and z-order are not Excel's
  EXPECT_TRUE(shape.zOrders.empty());
  EXPECT_FALSE(FileExists(handOff));

  const auto& log = host.log();
  EXPECT_EQ(CallNames(log),
            (std::vector<std::wstring>{L"Application.Workbooks", L"Workbooks.Count", L"Application.ActiveWorkbook",
                                       L"Workbook.ActiveSheet", L"Worksheet.Shapes", L"Shapes.AddPicture",
                                       L"Shape.Select", L"Shape.PictureFormat", L"PictureFormat.TransparentBackground",
                                       L"PictureFormat.TransparencyColor", L"Shape.Fill", L"FillFormat.Visible"}))
      << win::WideToUtf8(log.Describe());
  // The members called without their names, each with its fixed id and exact argument types.
  const struct {
    const wchar_t *object, *member;
    DISPID dispid;
    WORD flags;
    std::vector<VARTYPE> types;
  } fixed[] = {
      {L"Shapes", L"AddPicture", 0x6BB, DISPATCH_METHOD, {VT_BSTR, VT_I4, VT_I4, VT_R4, VT_R4, VT_R4, VT_R4}},
      {L"Shape", L"Select", 0xEB, DISPATCH_METHOD, {VT_EMPTY}},
      {L"Shape", L"PictureFormat", 0x65F, DISPATCH_PROPERTYGET, {}},
      {L"Shape", L"Fill", 0x67F, DISPATCH_PROPERTYGET, {}},
  };
  for (const auto& f : fixed) {
    SCOPED_TRACE(win::WideToUtf8(std::wstring(f.object) + L"." + f.member));
    CallRecord call = OnlyCall(log, f.object, f.member);
    EXPECT_EQ(call.dispid, f.dispid);
    EXPECT_EQ(call.flags, f.flags);
    EXPECT_EQ(call.types, f.types);
  }
  CallRecord add = OnlyCall(log, L"Shapes", L"AddPicture");
  ASSERT_EQ(add.args.size(), 7u);
  EXPECT_EQ(add.args[0].ToString(), handOff);
  const double numbers[] = {0, -1, 100, 100, 300, 225};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(add.args[i + 1].ToDouble(), numbers[i]) << "argument " << i + 1;
  for (const wchar_t* member : {L"TransparentBackground", L"TransparencyColor"})
    EXPECT_EQ(OnlyCall(log, L"PictureFormat", member).types, std::vector<VARTYPE>{VT_I4});
  EXPECT_EQ(OnlyCall(log, L"FillFormat", L"Visible").args.at(0).ToInt32(), 0);
}

TEST_F(ExcelClick, WithNoWorkbookOpenOneIsAddedUnderTheSystemLocaleAndTakesThePicture) {
  ASSERT_TRUE(host.Excel().workbooks.empty());
  Click(&Confirm);  // a fresh board: fill mode, 602 x 258
  CallRecord add = OnlyCall(host.log(), L"Workbooks", L"Add");
  EXPECT_EQ(add.locale, 0x800u);
  ASSERT_EQ(add.types, std::vector<VARTYPE>{VT_ERROR});
  EXPECT_TRUE(add.args[0].IsMissing());
  ASSERT_EQ(host.Excel().workbooks.size(), 1u);
  ASSERT_EQ(Sheet(0, 0).shapes.items.size(), 1u);
  EXPECT_EQ(Sheet(0, 0).shapes.items[0]->width, 451.5f);
  EXPECT_EQ(Sheet(0, 0).shapes.items[0]->height, 193.5f);
  EXPECT_FALSE(FileExists(handOff));
}

TEST_F(ExcelClick, AChartSheetTakesThePictureOnItsOwnShapes) {
  OpenWorkbook();
  Sheet(0, 1).chart = true;
  std::vector<test::MessageBoxInfo> boxes;
  Click(&ConfirmPicture, 1500, &boxes);
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(Sheet(0, 1).shapes.items.size(), 1u);
  const ShapeState& shape = *Sheet(0, 1).shapes.items[0];
  EXPECT_EQ(shape.width, 300.0f);
  EXPECT_EQ(shape.transparentBackground, -1);
  EXPECT_EQ(shape.fillVisible, 0);
  EXPECT_EQ(OnlyCall(host.log(), L"Chart", L"Shapes").result, S_OK);
  EXPECT_EQ(OnlyCall(host.log(), L"Shapes", L"AddPicture").dispid, 0x6BB);
  EXPECT_FALSE(FileExists(handOff));
}

TEST_F(ExcelClick, WithOnlyAHiddenWorkbookOpenANewOneTakesThePicture) {
  host.Excel().AddHiddenWorkbook();
  Click(&ConfirmPicture);
  ASSERT_EQ(host.Excel().workbooks.size(), 2u);
  EXPECT_TRUE(Sheet(0, 0).shapes.items.empty());  // PERSONAL.XLSB is left alone
  ASSERT_EQ(Sheet(1, 0).shapes.items.size(), 1u);
  EXPECT_EQ(host.Excel().workbooks[1]->name, L"Book1");
  const std::vector<std::wstring> names = CallNames(host.log());
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ(std::vector<std::wstring>(names.begin(), names.begin() + 5),
            (std::vector<std::wstring>{L"Application.Workbooks", L"Workbooks.Count", L"Application.ActiveWorkbook",
                                       L"Workbooks.Add", L"Application.ActiveWorkbook"}))
      << win::WideToUtf8(host.log().Describe());
  EXPECT_EQ(OnlyCall(host.log(), L"Workbooks", L"Add").locale, 0x800u);
  EXPECT_FALSE(FileExists(handOff));
}

}  // namespace
}  // namespace inkra::addin
