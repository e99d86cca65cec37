// Where the signature lands in Word, through the built DLL: the page's top left corner as
// always, the cursor on its page, and each case where Word cannot say where the cursor is.
#include "PlacementTestSupport.h"

#include "HostTexts.h"

namespace inkra::test {
namespace {

using office::HostDouble;
using office::HostKind;
using office::WordState;

constexpr float kWidth = 451.5f, kHeight = 193.5f;  // the board's 602 x 258 pixels
// A3, so the whole board fits beside a cursor at 300 points.
constexpr float kPageWidth = 841.9f, kPageHeight = 1190.6f;
const std::wstring kUnknown = L"无法确定光标的位置，签名已放在页面左上角。";

class WordPlacement : public PlacementThroughDll {};

TEST_F(WordPlacement, AtTheCursorOrTodaysPlaceWithTheReason) {
  ASSERT_TRUE(dll.Loaded());
  struct Case {
    const char* name;
    std::function<void(WordState&)> arrange;
    bool atCursor;
    float left, top;  // expected, for a picture of kWidth x kHeight
  };
  const Case cases[] = {
      {"cursor at (300, 400) on page 5", [](WordState&) {}, true, 300, 400 - kHeight / 2},
      {"near the page's bottom right: kept inside",
       [](WordState& w) { w.cursor.x = 700, w.cursor.y = 1180; }, true, kPageWidth - kWidth, kPageHeight - kHeight},
      {"near the page's top: kept inside", [](WordState& w) { w.cursor.y = 20; }, true, 300, 0},
      {"Reading Layout is left first", [](WordState& w) { w.readingLayout = true; }, true, 300, 400 - kHeight / 2},
      {"Web Layout is switched to Print Layout", [](WordState& w) { w.viewType = office::wdWebView; }, true, 300,
       400 - kHeight / 2},
      {"a view Word will not leave", [](WordState& w) { w.viewType = office::wdNormalView, w.viewLocked = true; },
       false, 100, 100},
      {"a position of -1", [](WordState& w) { w.cursor.positionUnknown = true; }, false, 100, 100},
      {"the cursor in a header", [](WordState& w) { w.cursor.storyType = office::wdPrimaryHeaderStory; }, false, 100,
       100},
      {"a selected shape", [](WordState& w) { w.cursor.selectionType = office::wdSelectionShape; }, false, 100, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(HostKind::Word);
    Connect(host, L"11.0");
    WordState& word = host.Word();
    word.documents[0]->pages = 6;
    word.documents[0]->pageWidth = kPageWidth, word.documents[0]->pageHeight = kPageHeight;
    word.selectionStart = word.selectionEnd = 5123;
    word.cursor.page = 5;
    word.cursor.x = 300, word.cursor.y = 400;
    c.arrange(word);
    host.log().Clear();
    Sign(host, int(board::Placement::Cursor));
    addIn->OnDisconnection(0, nullptr);

    ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u);
    const office::ShapeState& shape = *AddInDll::Shapes(host).items[0];
    EXPECT_NEAR(shape.left, c.left, 0.01);
    EXPECT_NEAR(shape.top, c.top, 0.01);
    EXPECT_EQ(shape.width, kWidth);
    EXPECT_EQ(shape.height, kHeight);
    EXPECT_EQ(shape.name, L"kvt");
    EXPECT_EQ(shape.fillVisible, office::msoFalse);
    EXPECT_EQ(shape.zOrders, std::vector<int>{4});
    if (c.atCursor) {
      // Anchored to the selection's own range, measured from the page, the selection untouched.
      EXPECT_TRUE(shape.hasAnchor);
      EXPECT_EQ(shape.anchorPage, 5);
      EXPECT_EQ(shape.anchorStart, 5123);
      EXPECT_EQ(shape.relativeHorizontal, 1);
      EXPECT_EQ(shape.relativeVertical, 1);
      EXPECT_EQ(shape.selectCalls, 0);
      EXPECT_EQ(word.selectionStart, 5123);
      EXPECT_TRUE(host.log().CallsTo(L"Selection", L"Start").empty());
      EXPECT_EQ(word.statusBar, L"");
      EXPECT_EQ(word.viewType, office::wdPrintView);
      EXPECT_FALSE(word.readingLayout);
    } else {
      // Today's calls: no anchor, the shape selected, the selection collapsed; and the reason.
      EXPECT_FALSE(shape.hasAnchor);
      EXPECT_EQ(shape.relativeHorizontal, 0);
      EXPECT_EQ(shape.selectCalls, 1);
      EXPECT_EQ(word.selectionStart, 0);
      EXPECT_EQ(word.selectionEnd, 0);
      EXPECT_EQ(word.statusBar, kUnknown);
      const auto added = host.log().CallsTo(L"Shapes", L"AddPicture");
      ASSERT_EQ(added.size(), 1u);
      EXPECT_EQ(added[0].types[3], VT_I4);
      EXPECT_EQ(added[0].types[4], VT_I4);
    }
  }
}

// The members of the host called in one click, in order, from the first Documents on.
std::vector<std::wstring> Journal(const office::CallLog& log) {
  std::vector<std::wstring> calls;
  for (const office::CallRecord& call : log.Calls())
    if (!calls.empty() || call.member == L"Documents") calls.push_back(call.object + L"." + call.member);
  return calls;
}

TEST_F(WordPlacement, PageTopLeftMakesTodaysCallsAndTheChoiceIsKept) {
  ASSERT_TRUE(dll.Loaded());
  HostDouble host(HostKind::Word);
  Connect(host, L"11.0");
  host.log().Clear();
  Sign(host, -1);
  EXPECT_EQ(entries, 3);  // Word has pages: the straddle seal is offered
  EXPECT_EQ(opened, 0);
  const std::vector<std::wstring> today = {
      L"Application.Documents", L"Documents.Count", L"Documents.Application", L"Application.ActiveDocument",
      L"Document.Shapes", L"Shapes.AddPicture", L"Shape.Select", L"Shape.Name", L"Shape.PictureFormat",
      L"PictureFormat.TransparentBackground", L"PictureFormat.TransparencyColor", L"Shape.Fill",
      L"FillFormat.Visible", L"Shape.WrapFormat", L"WrapFormat.Type", L"Shape.ZOrder", L"Application.Selection",
      L"Selection.Start", L"Selection.End"};
  EXPECT_EQ(Journal(host.log()), today);
  const office::CallRecord added = host.log().CallsTo(L"Shapes", L"AddPicture").at(0);
  EXPECT_EQ(added.args[3].ToInt32(), 100);
  EXPECT_EQ(added.types[3], VT_I4);
  EXPECT_EQ(added.types[7], VT_ERROR);  // Anchor missing
  EXPECT_EQ(KeptChoice(), std::nullopt);

  // Chosen once, the cursor stays the choice of the next board and of the registry.
  Sign(host, int(board::Placement::Cursor));
  EXPECT_EQ(KeptChoice(), 1u);
  host.log().Clear();
  Sign(host, -1);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(AddInDll::Shapes(host).items.back()->hasAnchor);
  addIn->OnDisconnection(0, nullptr);
}

}  // namespace
}  // namespace inkra::test
