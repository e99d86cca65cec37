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
constexpr float kBeside = 400 - kHeight / 2;         // the middle on the cursor's line at 400
// A3, so the whole board fits beside a cursor at 300 points.
constexpr float kPageWidth = 841.9f, kPageHeight = 1190.6f;

class WordPlacement : public PlacementThroughDll {};

TEST_F(WordPlacement, AtTheCursorOrTodaysPlaceWithTheReason) {
  ASSERT_TRUE(dll.Loaded());
  const struct {
    const char* name;
    std::function<void(WordState&)> arrange;
    bool atCursor;
    float left, top;  // expected, for a picture of kWidth x kHeight
  } cases[] = {
      {"cursor at (300, 400) on page 5", [](WordState&) {}, true, 300, kBeside},
      {"near the page's bottom right: kept inside", [](WordState& w) { w.cursor.x = 700, w.cursor.y = 1180; }, true,
       kPageWidth - kWidth, kPageHeight - kHeight},
      {"near the page's top: kept inside", [](WordState& w) { w.cursor.y = 20; }, true, 300, 0},
      {"Reading Layout is left first", [](WordState& w) { w.readingLayout = true; }, true, 300, kBeside},
      {"Web Layout becomes Print Layout", [](WordState& w) { w.viewType = office::wdWebView; }, true, 300, kBeside},
      {"a view Word will not leave", [](WordState& w) { w.viewType = office::wdNormalView, w.viewLocked = true; },
       false, 100, 100},
      {"a position of -1", [](WordState& w) { w.cursor.positionUnknown = true; }, false, 100, 100},
      {"in a header", [](WordState& w) { w.cursor.storyType = office::wdPrimaryHeaderStory; }, false, 100, 100},
      {"a selected shape", [](WordState& w) { w.cursor.selectionType = office::wdSelectionShape; }, false, 100, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(HostKind::Word);
    Connect(host, L"11.0");
    WordState& word = host.Word();
    office::DocumentState& doc = *word.documents[0];
    doc.pages = 6, doc.pageWidth = kPageWidth, doc.pageHeight = kPageHeight;
    word.selectionStart = word.selectionEnd = 5123;
    word.cursor.page = 5, word.cursor.x = 300, word.cursor.y = 400;
    c.arrange(word);
    host.log().Clear();
    Sign(host, int(board::Placement::Cursor));
    addIn->OnDisconnection(0, nullptr);

    ASSERT_EQ(AddInDll::Shapes(host).items.size(), 1u);
    const office::ShapeState& shape = *AddInDll::Shapes(host).items[0];
    EXPECT_NEAR(shape.left, c.left, 0.01);
    EXPECT_NEAR(shape.top, c.top, 0.01);
    EXPECT_EQ(std::tuple(shape.width, shape.height, shape.name, shape.fillVisible, shape.zOrders),
              std::tuple(kWidth, kHeight, std::wstring(L"kvt"), office::msoFalse, std::vector<int>{4}));
    if (c.atCursor) {
      // Anchored to the selection's own range, measured from the page, the selection untouched.
      EXPECT_EQ(std::tuple(shape.hasAnchor, shape.anchorPage, shape.anchorStart, shape.relativeHorizontal,
                           shape.relativeVertical, shape.selectCalls, word.selectionStart),
                std::tuple(true, 5, 5123L, 1, 1, 0, 5123L));
      EXPECT_TRUE(host.log().CallsTo(L"Selection", L"Start").empty());
      EXPECT_EQ(std::tuple(word.statusBar, word.viewType, word.readingLayout),
                std::tuple(std::wstring(), office::wdPrintView, false));
    } else {
      // Today's calls: no anchor, the shape selected, the selection collapsed; and the reason.
      EXPECT_EQ(std::tuple(shape.hasAnchor, shape.relativeHorizontal, shape.selectCalls, word.selectionStart,
                           word.selectionEnd, word.statusBar),
                std::tuple(false, 0, 1, 0L, 0L, std::wstring(L"无法确定光标的位置，签名已放在页面左上角。")));
      const auto added = host.log().CallsTo(L"Shapes", L"AddPicture");
      ASSERT_EQ(added.size(), 1u);
      EXPECT_EQ(std::pair(added[0].types[3], added[0].types[4]), std::pair(VARTYPE(VT_I4), VARTYPE(VT_I4)));
    }
  }
}

TEST_F(WordPlacement, PageTopLeftMakesTodaysCallsAndTheChoiceIsKept) {
  ASSERT_TRUE(dll.Loaded());
  HostDouble host(HostKind::Word);
  Connect(host, L"11.0");
  host.log().Clear();
  Sign(host, -1);
  EXPECT_EQ(std::pair(entries, opened), std::pair(3, 0));  // Word has pages: the straddle seal is offered
  // The members called in the click, in order, from the first Documents on.
  std::vector<std::wstring> journal;
  for (const office::CallRecord& call : host.log().Calls())
    if (!journal.empty() || call.member == L"Documents") journal.push_back(call.object + L"." + call.member);
  const std::vector<std::wstring> today = {
      L"Application.Documents", L"Documents.Count", L"Documents.Application", L"Application.ActiveDocument",
      L"Document.Shapes", L"Shapes.AddPicture", L"Shape.Select", L"Shape.Name", L"Shape.PictureFormat",
      L"PictureFormat.TransparentBackground", L"PictureFormat.TransparencyColor", L"Shape.Fill",
      L"FillFormat.Visible", L"Shape.WrapFormat", L"WrapFormat.Type", L"Shape.ZOrder", L"Application.Selection",
      L"Selection.Start", L"Selection.End"};
  EXPECT_EQ(journal, today);
  const office::CallRecord added = host.log().CallsTo(L"Shapes", L"AddPicture").at(0);
  EXPECT_EQ(added.args[3].ToInt32(), 100);
  EXPECT_EQ(std::pair(added.types[3], added.types[7]), std::pair(VARTYPE(VT_I4), VARTYPE(VT_ERROR)));  // no Anchor
  EXPECT_EQ(KeptChoice(), std::nullopt);

  // Chosen once, the cursor stays the choice of the next board and of the registry.
  Sign(host, int(board::Placement::Cursor));
  EXPECT_EQ(KeptChoice(), 1u);
  Sign(host, -1);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(AddInDll::Shapes(host).items.back()->hasAnchor);
  addIn->OnDisconnection(0, nullptr);
}

}  // namespace
}  // namespace inkra::test
