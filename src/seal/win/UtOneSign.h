#pragma once
// TfrmOneSign, "私章制作": the personal square seal dialog. The name is checked and drawn on
// "预 览" and on a face or colour change; "确 定" writes the seal hand-off file and sets Accepted.
#include <memory>

#include "ColourBox.h"
#include "SealControls.h"
#include "SealForm.h"
#include "SquareSeal.h"

namespace inkra::win {

class TfrmOneSign final : public SealForm {
 public:
  enum Id { idValue = 201, idSignFont, idColor, idBtnCreate, idBtnOk, idBtnExit, idTemplate, idLook };

  // Centred over the owner, or on the screen without one; handOffPath is fixed except in tests;
  // handOffDpi 0: the owner's dpi (see SealForm::HandOffDpi).
  // memory: where "上次使用" is kept (not owned; null: nothing is kept).
  explicit TfrmOneSign(HWND owner = nullptr, std::wstring handOffPath = kSealHandOffPath, int handOffDpi = 0,
                       SealMemory* memory = nullptr);
  ~TfrmOneSign() override;

  SquareSealParams Params() const;  // the name trimmed

  void FormCreate();
  void btnCreateClick();
  void cbSignFontChange();
  void btnOkClick();
  void btnExitClick();
  void cbTemplateChange();
  void DrawSeal();
  // The name check on the trimmed name, with its message and the field's focus and emptying.
  bool CheckName();

 private:
  void CreateControls() override;
  void FormShow() override;
  void OnCommand(int id, int code, HWND control) override;
  void LayoutChanged() override;

  HWND eValue = nullptr;  // child, not owned
  FaceBox cbSignFont;
  ColourBox cbColor{clRed};
  HWND Panel1 = nullptr, MainPanel = nullptr, Image = nullptr;
  HWND cbTemplate = nullptr, cbLook = nullptr;  // children, not owned
  SquareSealParams size_;  // the side, frame, character size and cells from the template
  int templateIndex_ = 0;
};

}  // namespace inkra::win
