#include "UtOneSign.h"

#include "ChineseText.h"
#include "Errors.h"
#include "SealParamsText.h"
#include "SealTemplates.h"
#include "SealText.h"
#include "StampLook.h"
#include "TextConvert.h"

namespace inkra::win {

TfrmOneSign::TfrmOneSign(HWND owner, std::wstring handOffPath, int handOffDpi, SealMemory* memory)
    : SealForm(owner, std::move(handOffPath), handOffDpi, memory) {
  FormCreate();
  // The classic 304 x 172 grown by the row of template and stamp's look below it.
  CreateForm(L"TfrmOneSign", L"私章制作", 304, 206, L"新宋体", 12, true);
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
  cbSignFont.Create(form, idSignFont, 177, 36, 121, 24, Utf8ToWide(d.face), font, Faces());
  cbColor.Create(form, idColor, 176, 64, 122, 24, font);
  cbColor.Select(d.colour);
  MakeButton(form, idBtnCreate, L"预 览", 222, 90, 73, 25, font);
  MakeButton(form, idBtnOk, L"确 定", 222, 118, 75, 25, font);
  MakeButton(form, idBtnExit, L"取 消", 222, 146, 75, 25, font);

  MakeLabel(form, L"模板：", 8, 182, 48, 16, font);
  cbTemplate = MakeDropList(form, idTemplate, TemplateEntries(SquareTemplateNames(), kLastSquareSealValue), 56,
                            178, 121, 24, font);
  cbLook = MakeCheckBox(form, idLook, L"仿真效果", 186, 180, 112, 20, font);
}

SquareSealParams TfrmOneSign::Params() const {
  SquareSealParams p;
  p.name = TrimBlanks(WideToUtf8(WindowText(eValue)));
  p.face = WideToUtf8(cbSignFont.SelectedFace());
  p.colour = cbColor.Selected();
  p.side = size_.side;
  p.frame = size_.frame;
  p.points = size_.points;
  p.nearCell = size_.nearCell;
  p.farCell = size_.farCell;
  p.stampLook = SendMessageW(cbLook, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return p;
}

void TfrmOneSign::cbTemplateChange() {
  const int index = int(SendMessageW(cbTemplate, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  SquareSealParams p;
  if (index < int(SquareTemplateNames().size())) {
    p = ApplySquareTemplate(index, Params());
    templateIndex_ = index;
  } else {
    // "上次使用": the seal accepted last, as it was.
    int from = 0;
    const std::optional<std::string> kept = Remembered(kLastSquareSealValue);
    if (!kept || !ReadSquareSealText(*kept, p, from)) return;
    templateIndex_ = from;
  }
  size_ = p;
  SetControls([&] {
    SetWindowTextW(eValue, Utf8ToWide(p.name).c_str());
    cbSignFont.Select(Utf8ToWide(p.face));
    cbColor.Select(p.colour);
    SendMessageW(cbLook, BM_SETCHECK, p.stampLook ? BST_CHECKED : BST_UNCHECKED, 0);
  });
  DrawSeal();
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
  InkFinish look;
  if (p.stampLook) {
    const std::uint32_t seed = StampSeed(SquareSealText(p, 0));
    look = [seed](ink::InkLayer& layer, int dpi) { ApplyStampLook(layer, seed, dpi); };
  }
  ShowSeal(Image, p.side, p.side, [p](Canvas& canvas) { DrawSquareSeal(canvas, p); }, look,
           PreviewKey(SquareSealText(p, 0), p.colour));
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
    WriteHandOff(size_.side, size_.side);
  } catch (const FileError& e) {
    ShowError(e);
    return;  // Accepted stays false and the dialog stays open
  }
  SetAccepted(true);
  Remember(kLastSquareSealValue, SquareSealText(Params(), templateIndex_));
  CloseModal();
}

void TfrmOneSign::btnExitClick() {
  SetAccepted(false);
  CloseModal();
}

void TfrmOneSign::OnCommand(int id, int code, HWND) {
  if (Applying()) return;  // the form setting its own controls
  switch (id) {
    case idTemplate:
      if (code == CBN_SELCHANGE && Shown()) cbTemplateChange();
      break;
    case idLook:
      if (code == BN_CLICKED && Shown()) cbSignFontChange();
      break;
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
