#pragma once
// TfrmSign, "公章制作": the official round seal dialog. Every parameter change redraws the
// preview; "确 定" writes the seal hand-off file and sets Accepted.
#include <memory>
#include <span>

#include "ColourBox.h"
#include "RoundSeal.h"
#include "SealControls.h"
#include "SealForm.h"

namespace inkra::win {

class TfrmSign final : public SealForm {
 public:
  // Control ids, for tests and the window procedure.
  enum Id {
    idHight = 101, idWith, idWordWith, idOutWith, idColor,
    idInput, idSignFont, idWordInt, idWordGD, idSP,
    id5x, id5y, id5Int,
    idCode, idUpX, idUpY, idFontUp, idUpInt,
    idAias, idDownX, idDownY, idFontDown, idDownInt,
    idBtnInput, idBtnOk, idBtnCanle,
    idTemplate, idCodeNo, idLook,  // the row of templates, seal code and stamp's look
  };

  // Modal over `owner` (the board); handOffPath is the fixed path except in tests; handOffDpi 0:
  // the owner's dpi (see SealForm::HandOffDpi).
  // memory: where "上次使用" is kept (not owned; null: nothing is kept).
  explicit TfrmSign(HWND owner = nullptr, std::wstring handOffPath = kSealHandOffPath, int handOffDpi = 0,
                    SealMemory* memory = nullptr);
  ~TfrmSign() override;

  int TextRadius() const { return textRadius_; }
  int CenterX() const { return centerX_; }
  int CenterY() const { return centerY_; }
  // The parameters as the controls hold them now.
  RoundSealParams Params() const;

  // Handlers, as the window procedure calls them.
  void FormCreate();
  void btn_InputClick();
  void seOutWithChange();
  void seHightChange();
  void seWithChange();
  void MainPanelResize();
  void btnOkClick();
  void btnCanleClick();
  void cbTemplateChange();
  void eCodeNoChange();
  // Every control set from `p`, then one redraw.
  void SetParams(const RoundSealParams& p);

 private:
  void CreateControls() override;
  void FormShow() override;
  void OnCommand(int id, int code, HWND control) override;
  void LayoutChanged() override;
  HFONT InputFont() const;
  SpinField* SpinWithId(int id);
  struct SpinBinding {
    SpinField TfrmSign::*field;
    int RoundSealParams::*value;
  };
  static std::span<const SpinBinding> Spins();

  SpinField seHight, seWith, seWordWith, seOutWith;
  SpinField seWordInt, seWordGD, seSP;
  SpinField se5x, se5y, se5Int;
  SpinField seUpX, seUpY, seUpInt;
  SpinField seDownX, seDownY, seDownInt;
  ColourBox cbColor{clRed};
  FaceBox cbSignFont, FontUp, FontDown;
  HWND edt_Input = nullptr, eCode = nullptr, eAias = nullptr;  // children, not owned
  HWND cbTemplate = nullptr, eCodeNo = nullptr, cbLook = nullptr;
  RingFit ring_ = RingFit::Corner;  // from the template the fields came from
  int templateIndex_ = 0;
  std::wstring lastCode_;           // the last code accepted, put back when a typed one is refused
  HWND Panel1 = nullptr, MainPanel = nullptr, Image = nullptr;

  int textRadius_ = 0, centerX_ = 0, centerY_ = 0;
};

}  // namespace inkra::win
