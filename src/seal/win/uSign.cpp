#include "uSign.h"

#include <algorithm>

#include "Errors.h"
#include "SealParamsText.h"
#include "SealTemplates.h"
#include "SealText.h"
#include "StampLook.h"
#include "TextConvert.h"

namespace inkra::win {
namespace {

constexpr int kRowHeight = 22;

void Spin(SpinField& field, HWND parent, int id, int x, int y, int width, int minimum, int maximum,
          int value, HFONT font) {
  field.Create(parent, id, x, y, width, kRowHeight, minimum, maximum, value, font);
}

}  // namespace

TfrmSign::TfrmSign(HWND owner, std::wstring handOffPath, int handOffDpi, SealMemory* memory)
    : SealForm(owner, std::move(handOffPath), handOffDpi, memory) {
  FormCreate();
  // The classic 679 x 428 grown by the row of templates below it.
  CreateForm(L"TfrmSign", L"公章制作", 679, 462, L"宋体", 12, false);
}

TfrmSign::~TfrmSign() { Destroy(); }

void TfrmSign::FormCreate() { SetAccepted(false); }

void TfrmSign::CreateControls() {
  const HWND form = Handle();
  const HFONT font = FormFont();
  const RoundSealParams d;

  // Preview: the outer panel, the seal panel inside it, the image filling that panel's client.
  Panel1 = MakePanel(form, 0, 0, 321, 321, BDR_RAISEDINNER, BDR_SUNKENOUTER, false);
  MainPanel = MakePanel(Panel1, 47, 56, d.width, d.height, BDR_SUNKENOUTER, BDR_RAISEDINNER, true);
  Image = MakePreviewImage(MainPanel, 2, 2, d.width - 4, d.height - 4);

  // The group boxes are made last: a control is made below its elder siblings, so they lie
  // below the controls inside them, in this order, without being moved there afterwards.
  struct Group {
    const wchar_t* caption;
    int x, y, width, height;
  };
  std::vector<Group> groups;

  // "印章"
  groups.push_back({L"印章", 2, 328, 313, 97});
  MakeLabel(form, L"高：", 10, 350, 80, 16, font);
  Spin(seHight, form, idHight, 90, 346, 64, 50, 322, d.height, font);
  MakeLabel(form, L"宽：", 162, 350, 80, 16, font);
  Spin(seWith, form, idWith, 242, 346, 64, 50, 322, d.width, font);
  MakeLabel(form, L"文字边距：", 10, 376, 80, 16, font);
  Spin(seWordWith, form, idWordWith, 90, 372, 64, 0, 322, d.textMargin, font);
  MakeLabel(form, L"外环宽度：", 162, 376, 80, 16, font);
  Spin(seOutWith, form, idOutWith, 242, 372, 64, 0, 100, d.ringWidth, font);
  MakeLabel(form, L"颜色：", 10, 402, 80, 16, font);
  cbColor.Create(form, idColor, 90, 398, 216, 24, font);
  cbColor.Select(d.colour);

  // "文字内容"
  groups.push_back({L"文字内容", 328, 8, 345, 105});
  edt_Input = MakeEdit(form, idInput, Utf8ToWide(d.text), 336, 26, 329, 27, InputFont());
  MakeLabel(form, L"字体：", 336, 60, 48, 16, font);
  const std::vector<std::wstring>& faces = Faces();
  cbSignFont.Create(form, idSignFont, 384, 56, 120, 24, Utf8ToWide(d.textFace), font, faces);
  MakeLabel(form, L"文字大小：", 512, 60, 80, 16, font);
  Spin(seWordInt, form, idWordInt, 592, 56, 73, 8, 100, d.textSize, font);
  MakeLabel(form, L"文字夹角：", 336, 88, 80, 16, font);
  Spin(seWordGD, form, idWordGD, 416, 84, 88, 200, 360, d.span, font);
  MakeLabel(form, L"水平度：", 512, 88, 80, 16, font);
  Spin(seSP, form, idSP, 592, 84, 73, 0, 360, d.turnFactor, font);

  // "五星"
  groups.push_back({L"五星", 328, 120, 345, 57});
  MakeLabel(form, L"X:", 336, 146, 20, 16, font);
  Spin(se5x, form, id5x, 356, 142, 60, 0, 322, d.starX, font);
  MakeLabel(form, L"Y:", 424, 146, 20, 16, font);
  Spin(se5y, form, id5y, 444, 142, 60, 0, 322, d.starY, font);
  MakeLabel(form, L"大小：", 512, 146, 80, 16, font);
  Spin(se5Int, form, id5Int, 592, 142, 73, 0, 322, d.starSize, font);

  // "副上文" and "副下文：", the same arrangement 96 pixels apart
  struct SubText {
    const wchar_t* caption;
    int top;
    HWND* edit;
    int editId;
    std::string text;
    FaceBox* face;
    int faceId;
    std::string faceName;
    SpinField *x, *y, *size;
    int xId, yId, sizeId, xValue, yValue, sizeValue;
  };
  SubText subs[] = {
      {L"副上文", 184, &eCode, idCode, d.upperText, &FontUp, idFontUp, d.upperFace, &seUpX, &seUpY,
       &seUpInt, idUpX, idUpY, idUpInt, d.upperX, d.upperY, d.upperSize},
      {L"副下文：", 280, &eAias, idAias, d.lowerText, &FontDown, idFontDown, d.lowerFace, &seDownX,
       &seDownY, &seDownInt, idDownX, idDownY, idDownInt, d.lowerX, d.lowerY, d.lowerSize},
  };
  for (SubText& s : subs) {
    groups.push_back({s.caption, 328, s.top, 345, 81});
    *s.edit = MakeEdit(form, s.editId, Utf8ToWide(s.text), 336, s.top + 20, 168, 24, font);
    MakeLabel(form, L"字体：", 512, s.top + 24, 48, 16, font);
    s.face->Create(form, s.faceId, 560, s.top + 20, 105, 24, Utf8ToWide(s.faceName), font, faces);
    MakeLabel(form, L"X:", 336, s.top + 54, 20, 16, font);
    Spin(*s.x, form, s.xId, 356, s.top + 50, 60, 0, 322, s.xValue, font);
    MakeLabel(form, L"Y:", 424, s.top + 54, 20, 16, font);
    Spin(*s.y, form, s.yId, 444, s.top + 50, 60, 0, 322, s.yValue, font);
    MakeLabel(form, L"文字大小：", 512, s.top + 54, 80, 16, font);
    Spin(*s.size, form, s.sizeId, 592, s.top + 50, 73, 8, 100, s.sizeValue, font);
  }

  MakeButton(form, idBtnInput, L"预 览", 414, 393, 75, 25, font);
  MakeButton(form, idBtnOk, L"确 定", 504, 393, 75, 25, font);
  MakeButton(form, idBtnCanle, L"取 消", 592, 393, 75, 25, font);

  // Below the classic controls: template, seal code, stamp's look.
  MakeLabel(form, L"模板：", 10, 436, 48, 16, font);
  cbTemplate = MakeDropList(form, idTemplate, TemplateEntries(RoundTemplateNames(), kLastRoundSealValue), 58,
                            432, 190, 24, font);
  MakeLabel(form, L"编码：", 262, 436, 48, 16, font);
  eCodeNo = MakeEdit(form, idCodeNo, L"", 310, 432, 150, 24, font);
  cbLook = MakeCheckBox(form, idLook, L"仿真效果", 480, 434, 110, 20, font);
  for (const Group& g : groups) MakeGroup(form, g.caption, g.x, g.y, g.width, g.height, font);
}

std::span<const TfrmSign::SpinBinding> TfrmSign::Spins() {
  // The spin fields and the parameters they hold: read, set and found by id alike.
  static const SpinBinding spins[] = {
      {&TfrmSign::seHight, &RoundSealParams::height},       {&TfrmSign::seWith, &RoundSealParams::width},
      {&TfrmSign::seWordWith, &RoundSealParams::textMargin}, {&TfrmSign::seOutWith, &RoundSealParams::ringWidth},
      {&TfrmSign::seWordInt, &RoundSealParams::textSize},   {&TfrmSign::seWordGD, &RoundSealParams::span},
      {&TfrmSign::seSP, &RoundSealParams::turnFactor},      {&TfrmSign::se5x, &RoundSealParams::starX},
      {&TfrmSign::se5y, &RoundSealParams::starY},           {&TfrmSign::se5Int, &RoundSealParams::starSize},
      {&TfrmSign::seUpX, &RoundSealParams::upperX},         {&TfrmSign::seUpY, &RoundSealParams::upperY},
      {&TfrmSign::seUpInt, &RoundSealParams::upperSize},    {&TfrmSign::seDownX, &RoundSealParams::lowerX},
      {&TfrmSign::seDownY, &RoundSealParams::lowerY},       {&TfrmSign::seDownInt, &RoundSealParams::lowerSize},
  };
  return spins;
}

RoundSealParams TfrmSign::Params() const {
  RoundSealParams p;
  for (const SpinBinding& s : Spins()) p.*s.value = (this->*s.field).Value();
  p.colour = cbColor.Selected();
  p.text = WideToUtf8(WindowText(edt_Input));
  p.textFace = WideToUtf8(cbSignFont.SelectedFace());
  p.upperText = WideToUtf8(WindowText(eCode));
  p.upperFace = WideToUtf8(FontUp.SelectedFace());
  p.lowerText = WideToUtf8(WindowText(eAias));
  p.lowerFace = WideToUtf8(FontDown.SelectedFace());
  p.ring = ring_;
  p.code = WideToUtf8(WindowText(eCodeNo));
  p.stampLook = SendMessageW(cbLook, BM_GETCHECK, 0, 0) == BST_CHECKED;
  return p;
}

void TfrmSign::SetParams(const RoundSealParams& p) {
  SetControls([&] {
    for (const SpinBinding& s : Spins()) (this->*s.field).SetValue(p.*s.value);
    cbColor.Select(p.colour);
    SetWindowTextW(edt_Input, Utf8ToWide(p.text).c_str());
    cbSignFont.Select(Utf8ToWide(p.textFace));
    SetWindowTextW(eCode, Utf8ToWide(p.upperText).c_str());
    FontUp.Select(Utf8ToWide(p.upperFace));
    SetWindowTextW(eAias, Utf8ToWide(p.lowerText).c_str());
    FontDown.Select(Utf8ToWide(p.lowerFace));
    lastCode_ = Utf8ToWide(p.code);
    SetWindowTextW(eCodeNo, lastCode_.c_str());
    SendMessageW(cbLook, BM_SETCHECK, p.stampLook ? BST_CHECKED : BST_UNCHECKED, 0);
    ring_ = p.ring;
  });
  seHightChange();
  seWithChange();
  btn_InputClick();
}

void TfrmSign::cbTemplateChange() {
  const int index = int(SendMessageW(cbTemplate, CB_GETCURSEL, 0, 0));
  if (index < 0) return;
  if (index < int(RoundTemplateNames().size())) {
    templateIndex_ = index;
    SetParams(ApplyRoundTemplate(index, Params()));
    return;
  }
  // "上次使用": the seal accepted last, as it was.
  RoundSealParams p;
  int from = 0;
  const std::optional<std::string> kept = Remembered(kLastRoundSealValue);
  if (!kept || !ReadRoundSealText(*kept, p, from)) return;
  templateIndex_ = from;
  SetParams(p);
}

void TfrmSign::eCodeNoChange() {
  const std::wstring code = WindowText(eCodeNo);
  if (code.size() <= kSealCodeDigits && std::all_of(code.begin(), code.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) {
    lastCode_ = code;
    seOutWithChange();
    return;
  }
  SetControls([&] { SetWindowTextW(eCodeNo, lastCode_.c_str()); });
  ShowHint(kSealCodeMessage);
}

void TfrmSign::FormShow() { btn_InputClick(); }

HFONT TfrmSign::InputFont() const { return KeptDialogFont(L"新宋体", 0, LayoutDpi(), 19); }

void TfrmSign::LayoutChanged() {
  SendMessageW(edt_Input, WM_SETFONT, WPARAM(InputFont()), TRUE);
  // The picture shown again at the new dpi; a text the check refuses now leaves no message.
  if (HasSeal() && CheckText(Params().text) == SealTextCheck::Ok) btn_InputClick();
}

void TfrmSign::btn_InputClick() {
  const RoundSealParams p = Params();
  if (SealTextCheck check = CheckText(p.text); check != SealTextCheck::Ok) {
    ShowHint(RoundSealMessage(check));
    return;  // the picture keeps what it showed
  }
  const RoundSealGeometry g = ComputeGeometry(p);
  textRadius_ = g.TextRadius;
  centerX_ = g.CenterX;
  centerY_ = g.CenterY;
  InkFinish look;
  if (p.stampLook) {
    const std::uint32_t seed = StampSeed(RoundSealText(p, 0));
    look = [seed](ink::InkLayer& layer, int dpi) { ApplyStampLook(layer, seed, dpi); };
  }
  ShowSeal(Image, g.imageWidth, g.imageHeight, [p](Canvas& canvas) { DrawRoundSeal(canvas, p); }, look,
           PreviewKey(RoundSealText(p, 0), p.colour));
}

void TfrmSign::seOutWithChange() { btn_InputClick(); }

void TfrmSign::seHightChange() {
  RECT r;
  GetWindowRect(MainPanel, &r);
  SetWindowPos(MainPanel, nullptr, 0, 0, r.right - r.left, AtLayoutDpi(seHight.Value()),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MainPanelResize();
}

void TfrmSign::seWithChange() {
  RECT r;
  GetWindowRect(MainPanel, &r);
  SetWindowPos(MainPanel, nullptr, 0, 0, AtLayoutDpi(seWith.Value()), r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MainPanelResize();
}

void TfrmSign::MainPanelResize() {
  RECT r;
  GetClientRect(MainPanel, &r);
  const int inset = AtLayoutDpi(2);
  SetWindowPos(Image, nullptr, inset, inset, r.right - 2 * inset, r.bottom - 2 * inset,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(MainPanel, nullptr, TRUE);
  InvalidateRect(Image, nullptr, FALSE);
}

void TfrmSign::btnOkClick() {
  try {
    // Without a preview yet: a picture of the image's size without ink.
    const RoundSealGeometry g = ComputeGeometry(Params());
    WriteHandOff(std::max(g.imageWidth, 1), std::max(g.imageHeight, 1));
    SetAccepted(true);
    Remember(kLastRoundSealValue, RoundSealText(Params(), templateIndex_));
  } catch (const FileError& e) {
    ShowError(e);
  }
  CloseModal();  // the button ends the dialog whether or not the file was written
}

void TfrmSign::btnCanleClick() {
  SetAccepted(false);
  CloseModal();
}

SpinField* TfrmSign::SpinWithId(int id) {
  for (const SpinBinding& s : Spins())
    if ((this->*s.field).Id() == id) return &(this->*s.field);
  return nullptr;
}

void TfrmSign::OnCommand(int id, int code, HWND) {
  if (Applying()) return;  // the form setting its own controls
  switch (id) {
    case idTemplate:
      if (code == CBN_SELCHANGE && Shown()) cbTemplateChange();
      return;
    case idCodeNo:
      if (code == EN_CHANGE && Shown()) eCodeNoChange();
      return;
    case idLook:
      if (code == BN_CLICKED && Shown()) seOutWithChange();
      return;
    case idBtnInput:
      if (code == BN_CLICKED) btn_InputClick();
      return;
    case idBtnOk:
      if (code == BN_CLICKED) btnOkClick();
      return;
    case idBtnCanle:
      if (code == BN_CLICKED) btnCanleClick();
      return;
    case idColor:
      if (code == CBN_SELCHANGE && cbColor.OnSelChange() && Shown()) seOutWithChange();
      return;
    case idSignFont:
    case idFontUp:
    case idFontDown:
      if (code == CBN_SELCHANGE && Shown()) seOutWithChange();
      return;
    case idInput:
    case idCode:
    case idAias:
      if (code == EN_CHANGE && Shown()) seOutWithChange();
      return;
  }
  if (code != EN_CHANGE || !Shown() || !SpinWithId(id)) return;
  if (id == idHight) {
    seHightChange();
  } else if (id == idWith) {
    seWithChange();
  } else {
    seOutWithChange();
  }
}

}  // namespace inkra::win
