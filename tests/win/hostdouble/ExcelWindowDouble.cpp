// Excel's active window as the placement reads it: the cells each pane shows, and ranges of
// cells with their places on the sheet in points.
#include "hostdouble/Objects.h"

namespace inkra::test::office {

using win::ComPtr;
using win::Variant;

namespace {

struct Cells {
  int row = 1, column = 1, rows = 1, columns = 1;
};

ComPtr<IDispatch> MakeRange(const Context& host, Cells cells) {
  return MakeObject(host->log, L"Range", [&](ObjectDouble& range) {
    range.Property(L"Row", 0x101, [cells](const Args&) { return Variant(cells.row); });
    range.Property(L"Column", 0xF0, [cells](const Args&) { return Variant(cells.column); });
    // Range.Rows and Range.Columns: only their Count.
    const auto count = [&](const wchar_t* name, DISPID id, int value) {
      range.Property(name, id, [log = host->log, value](const Args&) {
        return ObjectVariant(log, L"Range", [&](ObjectDouble& counted) {
          counted.Property(L"Count", 0x76, [value](const Args&) { return Variant(value); });
        });
      });
    };
    count(L"Rows", 0x102, cells.rows);
    count(L"Columns", 0xF1, cells.columns);
    // Variant holding a Double: points from the sheet's top left corner.
    range.Property(L"Left", 0x7F,
                   [cells](const Args&) { return Variant(double((cells.column - 1) * kExcelColumnWidth)); });
    range.Property(L"Top", 0x7E, [cells](const Args&) { return Variant(double((cells.row - 1) * kExcelRowHeight)); });
  });
}

// The panes of the window, top left first and the scrolling one last: one without frozen rows
// or columns, two with either, four with both.
std::vector<Cells> PanesOf(const ExcelWindowState& w) {
  const Cells scrolling{w.scrollRow, w.scrollColumn, w.visibleRows, w.visibleColumns};
  std::vector<Cells> panes;
  if (w.frozenRows > 0 && w.frozenColumns > 0) panes.push_back({1, 1, w.frozenRows, w.frozenColumns});
  if (w.frozenRows > 0) panes.push_back({1, w.scrollColumn, w.frozenRows, w.visibleColumns});
  if (w.frozenColumns > 0) panes.push_back({w.scrollRow, 1, w.visibleRows, w.frozenColumns});
  panes.push_back(scrolling);
  return panes;
}

Variant Panes(const Context& host) {
  return ObjectVariant(host->log, L"Panes", [&](ObjectDouble& panes) {
    panes.Property(L"Count", 0x76, [host](const Args&) { return Variant(int(PanesOf(host->excel->window).size())); });
    panes.Property(L"Item", 0xAA, [host](const Args& a) {
      const std::vector<Cells> all = PanesOf(host->excel->window);
      const int index = a.Int(0);
      if (index < 1 || index > int(all.size())) InvalidArgument();
      return ObjectVariant(host->log, L"Pane", [&](ObjectDouble& pane) {
        pane.Property(L"VisibleRange", 0x45E, [host, cells = all[size_t(index - 1)]](const Args&) {
          return Variant(MakeRange(host, cells).Get());
        });
      });
    }, nullptr, 1, 1);
  });
}

}  // namespace

ComPtr<IDispatch> MakeExcelWindow(const Context& host) {
  return MakeObject(host->log, L"Window", [&](ObjectDouble& window) {
    // Every cell the window shows, frozen ones included: from its top left cell to the
    // scrolling pane's bottom right one.
    window.Property(L"VisibleRange", 0x45E, [host](const Args&) {
      const ExcelWindowState& w = host->excel->window;
      const Cells first = PanesOf(w).front();
      const Cells all{first.row, first.column, w.scrollRow + w.visibleRows - first.row,
                      w.scrollColumn + w.visibleColumns - first.column};
      return Variant(MakeRange(host, all).Get());
    });
    window.Property(L"Panes", 0x28D, [host](const Args&) { return Panes(host); });
    window.Property(L"FreezePanes", 0x28A, [host](const Args&) {
      return Variant(host->excel->window.frozenRows > 0 || host->excel->window.frozenColumns > 0);
    });
  });
}

ComPtr<IDispatch> MakeCell(const Context& host, int row, int column) {
  return MakeRange(host, Cells{row, column, 1, 1});
}

}  // namespace inkra::test::office
