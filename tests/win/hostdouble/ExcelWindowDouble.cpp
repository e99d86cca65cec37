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

// Range.Rows or Range.Columns: only their Count.
class CountDouble : public DispatchDouble {
 public:
  CountDouble(const Context& host, int count) : DispatchDouble(host->log, L"Range"), count_(count) {
    Property(L"Count", 0x76, [this](const Args&) { return Variant(count_); });
  }

 private:
  int count_;
};

class RangeOfCellsDouble : public DispatchDouble {
 public:
  RangeOfCellsDouble(Context host, Cells cells) : DispatchDouble(host->log, L"Range"), host_(std::move(host)), cells_(cells) {
    Property(L"Row", 0x101, [this](const Args&) { return Variant(cells_.row); });
    Property(L"Column", 0xF0, [this](const Args&) { return Variant(cells_.column); });
    Property(L"Rows", 0x102, [this](const Args&) { return Variant(Make<CountDouble>(host_, cells_.rows).Get()); });
    Property(L"Columns", 0xF1,
             [this](const Args&) { return Variant(Make<CountDouble>(host_, cells_.columns).Get()); });
    // Variant holding a Double: points from the sheet's top left corner.
    Property(L"Left", 0x7F, [this](const Args&) { return Variant(double((cells_.column - 1) * kExcelColumnWidth)); });
    Property(L"Top", 0x7E, [this](const Args&) { return Variant(double((cells_.row - 1) * kExcelRowHeight)); });
  }

 private:
  Context host_;
  Cells cells_;
};

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

class PaneDouble : public DispatchDouble {
 public:
  PaneDouble(Context host, Cells cells) : DispatchDouble(host->log, L"Pane"), host_(std::move(host)), cells_(cells) {
    Property(L"VisibleRange", 0x45E,
             [this](const Args&) { return Variant(Make<RangeOfCellsDouble>(host_, cells_).Get()); });
  }

 private:
  Context host_;
  Cells cells_;
};

class PanesDouble : public DispatchDouble {
 public:
  explicit PanesDouble(Context host) : DispatchDouble(host->log, L"Panes"), host_(std::move(host)) {
    Property(L"Count", 0x76, [this](const Args&) { return Variant(int(PanesOf(host_->excel->window).size())); });
    Property(L"Item", 0xAA, [this](const Args& a) {
      const std::vector<Cells> panes = PanesOf(host_->excel->window);
      const int index = a.Int(0);
      if (index < 1 || index > int(panes.size())) InvalidArgument();
      return Variant(Make<PaneDouble>(host_, panes[size_t(index - 1)]).Get());
    }, nullptr, 1, 1);
  }

 private:
  Context host_;
};

class ExcelWindowDouble : public DispatchDouble {
 public:
  explicit ExcelWindowDouble(Context host) : DispatchDouble(host->log, L"Window"), host_(std::move(host)) {
    // Every cell the window shows, frozen ones included: from its top left cell to the
    // scrolling pane's bottom right one.
    Property(L"VisibleRange", 0x45E, [this](const Args&) {
      const ExcelWindowState& w = host_->excel->window;
      const Cells first = PanesOf(w).front();
      const Cells all{first.row, first.column, w.scrollRow + w.visibleRows - first.row,
                      w.scrollColumn + w.visibleColumns - first.column};
      return Variant(Make<RangeOfCellsDouble>(host_, all).Get());
    });
    Property(L"Panes", 0x28D, [this](const Args&) { return Variant(Make<PanesDouble>(host_).Get()); });
    Property(L"FreezePanes", 0x28A, [this](const Args&) {
      return Variant(host_->excel->window.frozenRows > 0 || host_->excel->window.frozenColumns > 0);
    });
  }

 private:
  Context host_;
};

}  // namespace

ComPtr<IDispatch> MakeExcelWindow(const Context& host) { return Make<ExcelWindowDouble>(host); }

ComPtr<IDispatch> MakeCell(const Context& host, int row, int column) {
  return Make<RangeOfCellsDouble>(host, Cells{row, column, 1, 1});
}

}  // namespace inkra::test::office
