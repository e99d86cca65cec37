#pragma once
// The object classes of the Office host double, for its own files: each Make... returns a new
// IDispatch view over the shared state.
#include <functional>
#include <memory>
#include <optional>

#include "ComPtr.h"
#include "hostdouble/DispatchDouble.h"
#include "hostdouble/OfficeDouble.h"

namespace inkra::test::office {

struct HostContext {
  HostKind kind;
  std::wstring name;
  std::shared_ptr<CallLog> log;
  std::shared_ptr<Profile> profile;
  std::shared_ptr<WordState> word;
  std::shared_ptr<ExcelState> excel;
  // Application.Version as Office answers it ("11.0" is Office 2003); none: the property fails.
  std::optional<std::wstring> version = std::wstring(L"11.0");
};
using Context = std::shared_ptr<HostContext>;

// Office's own error for a bad index or argument.
[[noreturn]] void InvalidArgument();

// A collection's Item(Index): a number from 1, or a name (a control's caption) in any case.
template <typename State>
std::shared_ptr<State> ItemOf(const Args& a, const std::vector<std::shared_ptr<State>>& items,
                              std::wstring State::*key = &State::name) {
  if (a.Raw(0).vt() == VT_BSTR) {
    const std::wstring name = a.String(0);
    for (const auto& item : items)
      if (_wcsicmp((item.get()->*key).c_str(), name.c_str()) == 0) return item;
    InvalidArgument();
  }
  const int index = a.Int(0);
  if (index < 1 || index > int(items.size())) InvalidArgument();
  return items[size_t(index - 1)];
}

win::ComPtr<IDispatch> MakeApplication(const Context& host);
win::ComPtr<IDispatch> MakeCommandBars(const Context& host);
win::ComPtr<IDispatch> MakeCommandBar(const Context& host, std::shared_ptr<CommandBarState> bar);
win::ComPtr<IDispatch> MakeControl(const Context& host, std::shared_ptr<ControlState> control);
win::ComPtr<IDispatch> MakeDocuments(const Context& host, win::ComPtr<IDispatch> application);
win::ComPtr<IDispatch> MakeDocument(const Context& host, std::shared_ptr<DocumentState> document);
win::ComPtr<IDispatch> MakeSelection(const Context& host);
win::ComPtr<IDispatch> MakeWorkbooks(const Context& host, win::ComPtr<IDispatch> application);
win::ComPtr<IDispatch> MakeWorkbook(const Context& host, std::shared_ptr<WorkbookState> workbook);
win::ComPtr<IDispatch> MakeSheet(const Context& host, std::shared_ptr<SheetState> sheet);
// excel: Excel's Shapes (AddPicture without Anchor, fixed dispatch ids) rather than Word's.
// refusal: the error AddPicture raises now, as the protection of the sheet or document makes
// Office raise it; null while pictures may be added.
using Refusal = std::function<const HostError*()>;
win::ComPtr<IDispatch> MakeShapes(const Context& host, std::shared_ptr<ShapesState> shapes, bool excel,
                                  Refusal refusal = nullptr);
// owner: the collection Delete removes the shape from (null: Delete is refused).
win::ComPtr<IDispatch> MakeShape(const Context& host, std::shared_ptr<ShapeState> shape, bool excel,
                                 std::shared_ptr<ShapesState> owner = nullptr);

// Word: a range of a document, at `start`, on `page`; Shapes.AddPicture reads its anchor's.
class RangeDouble : public DispatchDouble {
 public:
  RangeDouble(Context host, std::shared_ptr<DocumentState> document, long start, int page);
  const long start;
  const int page;

 private:
  Context host_;
  std::shared_ptr<DocumentState> document_;
};
// Word: the active window, with its View.
win::ComPtr<IDispatch> MakeWordWindow(const Context& host);
// Word: Selection.Information(what) for the insertion point.
win::Variant CursorInformation(const Context& host, int what);
// Word: the active document's state; null when none is active.
std::shared_ptr<DocumentState> ActiveWordDocument(const Context& host);

// Excel: the active window (VisibleRange, Panes) and the active cell.
win::ComPtr<IDispatch> MakeExcelWindow(const Context& host);
win::ComPtr<IDispatch> MakeCell(const Context& host, int row, int column);

// The picture's size in pixels, read with the platform's decoder (WIC); a HostError as Office
// reports an unreadable or missing file.
void ReadPicture(const std::wstring& file, ShapeState& shape);

}  // namespace inkra::test::office
