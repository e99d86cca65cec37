#pragma once
// TToolbarAddIn: what the Word and Excel add-ins share. On connection it finds or creates the
// permanent toolbar "InkraSoft" with its caption button "手写签名" in the host's command bars and
// listens to the button's Click; on disconnection it stops listening and, when the user removed
// the add-in, deletes the toolbar. Each host's add-in supplies ButtonClick (board and insertion).
// On Office 2007 and later the same click also sits on the host's main ribbon (RibbonButton.h).
#include <windows.h>
#include <oaidl.h>

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "MSOEventSink.h"
#include "MSOfficeAddIn.h"
#include "PicturePlacement.h"
#include "WhiteBorad.h"

namespace inkra::addin {

inline constexpr const wchar_t* kToolbarName = L"InkraSoft";
inline constexpr const wchar_t* kButtonTag = L"手写签名$$$";
inline constexpr const wchar_t* kButtonCaption = L"手写签名";  // also its tooltip

// Office constants.
inline constexpr int msoControlButton = 1;
inline constexpr int msoBarTop = 1;
inline constexpr int msoButtonCaption = 2;
inline constexpr int msoTrue = -1;
inline constexpr int msoFalse = 0;

// The picture goes 100 points from the top left corner, at the size it had on the screen: a
// board pixel is 72/dpi points (0.75 at 96 dpi), so at 200 % the picture carries twice the pixels
// in the same points.
inline constexpr int kPictureLeft = 100;
inline constexpr int kPictureTop = 100;
inline double PixelsToPoints(int pixels, int dpi) { return pixels * 72.0 / (dpi > 0 ? dpi : 96); }
// White, as a colour value (0x00BBGGRR).
inline constexpr int kWhite = 16777215;

// Office 2007 (version 12) is the first to place a PNG's alpha as drawn; older hosts get the
// BMP whose white they are told to key out.
inline constexpr int kFirstAlphaVersion = 12;
// The major number of Application.Version ("16.0", "11.0", "12.0.4518"): its leading digits;
// 0 when there are none or they make no sensible version.
int MajorVersion(const std::wstring& version);

// A host that will not take the picture for a reason the user can act on; what() is that reason
// in the user's words (UTF-8, HostTexts.h).
class PictureRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TToolbarAddIn : public TMSOfficeAddIn {
 public:
  using TMSOfficeAddIn::TMSOfficeAddIn;
  ~TToolbarAddIn() override;

  // Looks up "InkraSoft" in CommandBars and fills Toolbar; true when found.
  bool FindToolbar();
  // Finds or creates toolbar and button, then connects the sink; true when it is connected.
  // Host failures are reported only through the result.
  bool SetupButton();
  // Disconnects the sink from Button and forgets it.
  void ReleaseButtonSink();
  // The sink's OnClick handler: the board, then, when it was confirmed, InsertPicture and
  // FormatPicture. A picture that did not get in is put on the clipboard and the user is told
  // why in one message box. Neither hand-off file outlives the click. Both parameters are ignored.
  virtual void ButtonClick(IDispatch* Ctrl, VARIANT_BOOL& CancelDefault);

  // Deletes the board's and the seal's hand-off files, at their fixed paths and stand-ins: after
  // each click, and at each connection for the files a crash left behind.
  void RemoveHandOffFiles() const;

  // What the board is created with; the defaults are the machine's own (registry settings,
  // common dialogs, the fixed hand-off path). Tests and the demo host set their own.
  void SetBoardOptions(board::win::BoardOptions options) { boardOptions_ = std::move(options); }

 protected:
  HRESULT DoOnConnection(int ConnectMode, IDispatch* AddInInst, SAFEARRAY** custom) override;
  HRESULT DoOnDisconnection(int RemoveMode, SAFEARRAY** custom) override;
  HRESULT DoOnAddInsUpdate(SAFEARRAY** custom) override;
  HRESULT DoOnStartupComplete(SAFEARRAY** custom) override;
  HRESULT DoOnBeginShutdown(SAFEARRAY** custom) override;

  // The ribbon's button on the host's main ribbon (MainRibbonId), nothing on any other; its
  // onAction runs the toolbar button's click.
  std::wstring DoGetCustomUI(const std::wstring& ribbonId) override;
  std::span<const RibbonCallback> RibbonCallbacks() const override;
  win::Variant DoRibbonCallback(DISPID id, IRibbonControl* control) override;
  // The id of the ribbon that holds the host's documents ("Microsoft.Word.Document", ...).
  virtual const wchar_t* MainRibbonId() const = 0;

  // A new board form, without an owner; `png`: the host places a PNG's alpha.
  std::unique_ptr<board::win::TfrmWhiteBorad> NewBoard(bool png) const;
  // The host has pages to lay a straddle seal across (Word).
  virtual bool OffersStraddle() const { return false; }
  // Puts the hand-off file into the host's document at the board's chosen place: every step the
  // picture needs to be there at all. Returns the new shapes. Raises PictureRefused for a reason
  // the user can act on, any other error for a host failure; nothing is inserted then.
  virtual Inserted InsertPicture(const Insertion& insertion) = 0;
  // The inserted shapes' finish (transparent white unless the picture carries its own alpha, no
  // fill, ...). Raises on a host failure; the picture then stays in the document with what was
  // set so far.
  virtual void FormatPicture(const Inserted& inserted, bool ownAlpha) = 0;
  // Application.Version's major number; 0 when the host does not say. Read at connection.
  int HostVersion() const;

  win::ComPtr<IDispatch> Toolbar;  // the "InkraSoft" CommandBar; may be null
  win::ComPtr<IDispatch> Button;   // its _CommandBarButton; may be null
  TCommandBarButtonEventsSink* ButtonSink = nullptr;  // not owned: the button's connection point holds it
  bool Connected = false;  // between OnConnection and OnDisconnection

 private:
  // A click from the host (toolbar button or ribbon): ButtonClick, with this add-in kept alive
  // until it has finished.
  void HostClick(IDispatch* ctrl, VARIANT_BOOL& cancel);
  // Adds the button to Toolbar with its tag, tooltip, style and caption; raises on a host failure.
  void AddButton();
  // The picture at `path` could not be placed, for `reason` (UTF-8): it goes on the clipboard
  // (owned by `board`, our window) and the user is told, once.
  // On transparent paper, the hand-off PNG at `path` is cut down to the box of its ink; returns
  // where that box lies in the width x height points of the whole picture. `screenPng`, when
  // the file was drawn larger than the view, is the view's own pixels: the box is found on them,
  // so it is the same in points at any resolution, and it is cut down the same way.
  static PictureBox CutToInk(const std::wstring& path, double width, double height,
                             std::vector<std::uint8_t>& screenPng);
  // `screenPicture`, when given, is what the clipboard's device-independent bitmap is made of.
  static void KeepRefusedPicture(HWND board, const std::wstring& path, const std::string& reason,
                                 std::span<const std::uint8_t> screenPicture = {});

  board::win::BoardOptions boardOptions_;
  bool clickRunning_ = false;  // a click's board is open
  int hostVersion_ = 0;        // Application.Version's major number at connection; 0: unknown
};

}  // namespace inkra::addin
