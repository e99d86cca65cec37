#include "UtOneSign.h"

#include "ChineseText.h"
#include "Errors.h"
#include "SealText.h"
#include "TextConvert.h"

namespace inkra::win {

TfrmOneSign::TfrmOneSign(HWND owner, std::wstring handOffPath, int handOffDpi)
    : SealForm(owner, std::move(handOffPath), handOffDpi) {
  FormCreate();
  CreateForm(L"TfrmOneSign", L"私章制作", 304, 172, L"新宋体", 12, true);
}

TfrmOneSign::~TfrmOneSign() { Destroy(); }

void TfrmOneSign::FormCreate() { SetAccepted(false); }

void TfrmOneSign::CreateControls() {
  const HWND form = Handle();
  const HFONT font = FormFont();
  const SquareSealParams d;
  const int panelSide = kSquareSealSide + 4;

  Panel1 = MakePanel(form, 0, 0, 169, 169, BDR_RAISEDINNER, BDR_SUNKENOUTER, false);
  MainPanel = MakePanel(Panel1, 7, 8, panelSide, panelSide, BDR_SUNKENOUTER, BDR_RAISEDINNER, true);
  Image = MakePreviewImage(MainPanel, 2, 2, kSquareSealSide, kSquareSealSide);

  eValue = MakeEdit(form, idValue, Utf8ToWide(d.name), 177, 8, 121, 24, font);
  cbSignFont.Create(form, idSignFont, 177, 36, 121, 24, Utf8ToWide(d.face), font);
  cbColor.Create(form, idColor, 176, 64, 122, 24, font);
  cbColor.Select(d.colour);
  MakeButton(form, idBtnCreate, L"预 览", 222, 90, 73, 25, font);
  MakeButton(form, idBtnOk, L"确 定", 222, 118, 75, 25, font);
  MakeButton(form, idBtnExit, L"取 消", 222, 146, 75, 25, font);
}

SquareSealParams TfrmOneSign::Params() const {
  SquareSealParams p;
  p.name = TrimBlanks(WideToUtf8(WindowText(eValue)));
  p.face = WideToUtf8(cbSignFont.SelectedFace());
  p.colour = cbColor.Selected();
  return p;
}

void TfrmOneSign::FormShow() { DrawSeal(); }

void TfrmOneSign::LayoutChanged() {
  if (HasSeal()) DrawSeal();  // the picture at the new dpi
}

bool TfrmOneSign::CheckName() {
  SealTextCheck check = inkra::CheckName(Params().name);
  if (check == SealTextCheck::Ok) return true;
  ShowHint(SquareSealMessage(check));
  if (check == SealTextCheck::NotChinese) SetWindowTextW(eValue, L"");
  SetFocus(eValue);
  return false;
}

void TfrmOneSign::DrawSeal() {
  const SquareSealParams p = Params();
  ShowSeal(Image, kSquareSealSide, kSquareSealSide, [p](Canvas& canvas) { DrawSquareSeal(canvas, p); });
}

void TfrmOneSign::btnCreateClick() {
  if (CheckName()) DrawSeal();
}

void TfrmOneSign::cbSignFontChange() {
  CheckName();
  DrawSeal();  // drawn whatever the check said, from the name as the field now holds it
}

void TfrmOneSign::btnOkClick() {
  try {
    WriteHandOff(kSquareSealSide, kSquareSealSide);
  } catch (const FileError& e) {
    ShowError(e);
    return;  // Accepted stays false and the dialog stays open
  }
  SetAccepted(true);
  CloseModal();
}

void TfrmOneSign::btnExitClick() {
  SetAccepted(false);
  CloseModal();
}

void TfrmOneSign::OnCommand(int id, int code, HWND) {
  switch (id) {
    case idBtnCreate:
      if (code == BN_CLICKED) btnCreateClick();
      break;
    case idBtnOk:
      if (code == BN_CLICKED) btnOkClick();
      break;
    case idBtnExit:
      if (code == BN_CLICKED) btnExitClick();
      break;
    case idSignFont:
      if (code == CBN_SELCHANGE && Shown()) cbSignFontChange();
      break;
    case idColor:
      if (code == CBN_SELCHANGE && cbColor.OnSelChange() && Shown()) cbSignFontChange();
      break;
  }
}

}  // namespace inkra::win
