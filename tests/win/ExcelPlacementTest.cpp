// Where the signature lands in Excel, through the built DLL: the sheet's top left as always, or
// the active cell when the window shows it, else the top left cell the window shows.
#include "PlacementTestSupport.h"

namespace inkra::test {
namespace {

using office::ExcelWindowState;
using office::HostDouble;
using office::HostKind;
using office::kExcelColumnWidth;
using office::kExcelRowHeight;

class ExcelPlacement : public PlacementThroughDll {};

// The top left corner of cell (row, column), in points.
float CellLeft(int column) { return float(column - 1) * kExcelColumnWidth; }
float CellTop(int row) { return float(row - 1) * kExcelRowHeight; }

TEST_F(ExcelPlacement, TheActiveCellWhenShownElseTheWindowsTopLeftCell) {
  ASSERT_TRUE(dll.Loaded());
  const struct {
    const char* name;
    int placement;
    ExcelWindowState window;
    bool chartSheet;
    float left, top;
  } cases[] = {
      {"page top left", 0, {5, 3}, false, 100, 100},
      {"active cell shown", 1, {5, 3}, false, CellLeft(3), CellTop(5)},
      {"scrolled away to row 300", 1, {2, 3, 300, 1}, false, CellLeft(1), CellTop(300)},
      {"scrolled right of the active cell", 1, {5, 2, 1, 20}, false, CellLeft(20), CellTop(1)},
      {"frozen panes, active cell in the frozen rows", 1, {1, 6, 300, 5, 30, 12, 2, 1}, false, CellLeft(6), CellTop(1)},
      {"frozen panes, active cell scrolled away", 1, {50, 7, 300, 5, 30, 12, 2, 1}, false, CellLeft(5), CellTop(300)},
      {"chart sheet", 1, {5, 3}, true, 100, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HostDouble host(HostKind::Excel);
    Connect(host, L"11.0");
    host.Excel().window = c.window;
    office::WorkbookState& book = *host.Excel().workbooks.at(0);
    if (c.chartSheet) {
      book.sheets.push_back(std::make_shared<office::SheetState>());
      book.sheets.back()->name = L"Chart1", book.sheets.back()->chart = true;
      book.activeSheet = int(book.sheets.size()) - 1;
    }
    Sign(host, c.placement);
    addIn->OnDisconnection(0, nullptr);
    EXPECT_EQ(entries, 2);  // no pages: no straddle seal
    const auto& items = book.sheets.at(size_t(book.activeSheet))->shapes.items;
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(std::tuple(items[0]->left, items[0]->top, items[0]->width, items[0]->selectCalls),
              std::tuple(c.left, c.top, 451.5f, 1));
    EXPECT_EQ(host.log().CallsTo(L"Shapes", L"AddPicture").at(0).types[3], VT_R4);
  }
}

}  // namespace
}  // namespace inkra::test
