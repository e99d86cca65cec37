#pragma once
// The Office host double: Word, Excel and Outlook application objects that answer, through
// IDispatch late binding, every call the add-ins make of a real host, under the real object
// model's member names and argument orders (and Excel's fixed dispatch ids). Every call is
// recorded in log(); any call can be made to fail and any member to be missing.
//
//   auto profile = NewProfile(HostKind::Word);           // the user's command bars
//   HostDouble word(HostKind::Word, profile);
//   addIn->OnConnection(word.Application(), 0, nullptr, nullptr);
//   CommandBarState* bar = profile->Find(L"InkraSoft");  // what the add-in created
//   VARIANT_BOOL cancel = VARIANT_FALSE;
//   FireClick(word, *bar->controls[0], cancel);          // the user clicks the button
//   word.Word().documents[0]->shapes.items[0]->name;     // what was inserted
//
// The state below is plain data that the COM objects read and write; tests inspect and arrange
// it directly. Objects handed to the add-ins are thin IDispatch views over it.
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "hostdouble/CallLog.h"

namespace inkra::test::office {

enum class HostKind { Word, Excel, Outlook };

// Office constants the double understands.
inline constexpr int msoControlButton = 1;
inline constexpr int msoBarTop = 1;
inline constexpr int msoBarFloating = 4;
inline constexpr int msoButtonAutomatic = 0;
inline constexpr int msoTrue = -1;
inline constexpr int msoFalse = 0;
inline constexpr int wdWrapSquare = 0;

// --- Command bars (Office) -------------------------------------------------------------------------

struct ControlState {
  int type = msoControlButton;
  int id = 1;
  std::wstring tag, tooltipText, caption, parameter;
  int style = msoButtonAutomatic;
  bool visible = true;
  bool temporary = false;
  bool deleted = false;
  // Sinks advised on the button's _CommandBarButtonEvents connection point, with their cookies;
  // each stays only while the button object it was advised through is alive, as in Office.
  std::vector<std::pair<DWORD, win::ComPtr<IDispatch>>> sinks;
  DWORD nextCookie = 1;
};

struct CommandBarState {
  std::wstring name;
  int position = msoBarFloating;
  bool menuBar = false;
  bool temporary = false;
  bool visible = false;
  bool builtIn = false;
  bool deleted = false;
  std::vector<std::shared_ptr<ControlState>> controls;
};

// A user's command bars for one host: they outlive the application, so a second connection in the
// same profile finds what the first created.
struct Profile {
  std::vector<std::shared_ptr<CommandBarState>> bars;
  // The first bar with exactly this name, or null.
  CommandBarState* Find(const std::wstring& name) const;
  // Bars named exactly so.
  int Count(const std::wstring& name) const;
};

// A new profile holding the host's built-in bars ("Standard", "Formatting", ...).
std::shared_ptr<Profile> NewProfile(HostKind kind);

// --- Documents, workbooks, shapes --------------------------------------------------------------------

struct ShapeState {
  std::wstring name;
  std::wstring fileName;
  bool linkToFile = false;
  bool saveWithDocument = false;
  float left = 0, top = 0, width = 0, height = 0;
  UINT pixelWidth = 0, pixelHeight = 0;  // of the picture, read when inserted
  std::vector<std::uint8_t> picture;     // the file's bytes as inserted, kept for drawing
  bool hasAnchor = false;                // Word: an Anchor range was given
  int anchorPage = 0;                    // Word: the page of the anchor's end (Information 3)
  long anchorStart = -1;                 // Word: the anchor range's Start
  int relativeHorizontal = 0, relativeVertical = 0;  // Word: 0 margin, 1 page, 2 paragraph/column
  int selectCalls = 0;
  int transparentBackground = msoFalse;
  long transparencyColor = 0;
  int fillVisible = msoTrue;
  int wrapType = wdWrapSquare;
  std::vector<int> zOrders;  // every ZOrder command, in order
};

struct ShapesState {
  std::vector<std::shared_ptr<ShapeState>> items;
  int nextNumber = 1;  // pictures are named "Picture N"
};

// Word's WdProtectionType: none, or revisions, comments, form fields, reading only.
inline constexpr int wdNoProtection = -1;
inline constexpr int wdAllowOnlyRevisions = 0;
inline constexpr int wdAllowOnlyReading = 3;

// Word's WdViewType: Print Layout is 3; Normal 1, Outline 2, Web Layout 6, Reading 7.
inline constexpr int wdNormalView = 1;
inline constexpr int wdPrintView = 3;
inline constexpr int wdWebView = 6;
// Word's WdStoryType and WdSelectionType, the ones the double knows.
inline constexpr int wdMainTextStory = 1;
inline constexpr int wdPrimaryHeaderStory = 7;
inline constexpr int wdSelectionIP = 1;
inline constexpr int wdSelectionShape = 8;

struct DocumentState {
  std::wstring name;
  ShapesState shapes;
  // Any protection but tracked revisions makes AddPicture fail, as in Word.
  int protectionType = wdNoProtection;
  int pages = 1;                                // ComputeStatistics(wdStatisticPages)
  float pageWidth = 595.3f, pageHeight = 841.9f;  // every section's PageSetup: A4 in points
  // AddPicture fails for the Nth picture (1-based) added from now on; 0: none fails.
  int failAddPictureAt = 0;
};

// The insertion point as Information answers it, with the view it is read in.
struct WordCursorState {
  int page = 1;                  // Information(3), wdActiveEndPageNumber
  float x = 72, y = 72;          // Information(5) and (6), in Print Layout only; else -1
  bool positionUnknown = false;  // Information(5)/(6) answer -1 even in Print Layout
  int storyType = wdMainTextStory;
  int selectionType = wdSelectionIP;
};

struct WordState {
  std::vector<std::shared_ptr<DocumentState>> documents;
  int active = -1;  // index into documents
  long selectionStart = 0, selectionEnd = 0;
  WordCursorState cursor;
  int viewType = wdPrintView;
  bool readingLayout = false;
  bool viewLocked = false;  // View.Type cannot be changed (a put is refused)
  std::wstring statusBar;   // Application.StatusBar as last set
  int created = 0;  // documents added so far, for their names
  // Arguments given to every Documents.Add, as recorded.
};

struct SheetState {
  std::wstring name;
  bool chart = false;  // a chart sheet: a _Chart, not a _Worksheet; its Shapes take pictures too
  ShapesState shapes;
  // Protected with its drawing objects (Protect's default): AddPicture fails, as in Excel.
  bool protectDrawingObjects = false;
};

struct WorkbookState {
  std::wstring name;
  // Its windows hidden (PERSONAL.XLSB, an add-in workbook): counted by Workbooks, never active.
  bool hidden = false;
  std::vector<std::shared_ptr<SheetState>> sheets;
  int activeSheet = 0;
};

// The active window's cells, as Excel draws them: every column 48 points wide, every row 15
// points high (Excel 2007's defaults).
inline constexpr float kExcelColumnWidth = 48, kExcelRowHeight = 15;
struct ExcelWindowState {
  int activeRow = 1, activeColumn = 1;
  int scrollRow = 1, scrollColumn = 1;        // the scrolling pane's top left cell
  int visibleRows = 30, visibleColumns = 12;  // cells the scrolling pane shows
  int frozenRows = 0, frozenColumns = 0;      // frozen (or split) above and left of it
};

struct ExcelState {
  ExcelWindowState window;
  std::vector<std::shared_ptr<WorkbookState>> workbooks;
  int active = -1;
  int created = 0;
  // A workbook with three worksheets, made active (what Workbooks.Add does).
  WorkbookState& AddWorkbook();
  // The personal macro workbook Excel opens hidden at its start.
  WorkbookState& AddHiddenWorkbook();
  // ActiveWorkbook: null when none is open or the active one is hidden.
  WorkbookState* ActiveWorkbook();
};

// --- The host ----------------------------------------------------------------------------------------

struct HostContext;  // shared by the host and all its objects (Objects.h)

class HostDouble {
 public:
  // profile null: a fresh one. Outlook has no command bars.
  explicit HostDouble(HostKind kind, std::shared_ptr<Profile> profile = nullptr);
  ~HostDouble();
  HostDouble(const HostDouble&) = delete;
  HostDouble& operator=(const HostDouble&) = delete;

  // The Application object (owned by the double; AddRef it to keep it).
  IDispatch* Application() const { return application_.Get(); }
  HostKind kind() const;
  // Application.Name: "Microsoft Word", "Microsoft Excel", "Outlook" unless changed.
  void SetName(std::wstring name);
  const std::wstring& name() const;
  // Application.Version: "11.0" (Office 2003) unless changed; none makes it fail, as a host
  // without the property would.
  void SetVersion(std::optional<std::wstring> version);

  CallLog& log();
  Profile& profile();
  std::shared_ptr<Profile> sharedProfile() const;
  WordState& Word();
  ExcelState& Excel();
  const std::shared_ptr<HostContext>& context() const { return context_; }

 private:
  std::shared_ptr<HostContext> context_;
  win::ComPtr<IDispatch> application_;
};

// The user clicks a button: Click(Ctrl, CancelDefault) is fired through IDispatch::Invoke (dispid 1,
// arguments last-first: [0] VT_BOOL|VT_BYREF CancelDefault, [1] VT_DISPATCH Ctrl) on every advised
// sink. cancelDefault goes in and comes back as the sinks left it. Returns the last sink's result
// (S_OK when none is advised).
HRESULT FireClick(HostDouble& host, ControlState& button, VARIANT_BOOL& cancelDefault);

// The IDispatch view of a control, as Office hands it out (answers _CommandBarButton and
// IConnectionPointContainer).
win::ComPtr<IDispatch> ControlObject(HostDouble& host, std::shared_ptr<ControlState> control);

}  // namespace inkra::test::office
