// The pen's tip (笔锋) through the built DLL: the check box on the pen bar, a mouse stroke
// thinner with it, and its choice kept for the next board.
#include "PlacementTestSupport.h"
#include "Png.h"

namespace inkra::test {
namespace {

class PenTipThroughDll : public PlacementThroughDll {
 protected:
  PenTipThroughDll() { choices.push_back(L"PenTip"); }
  // Signs a quick stroke (the driver posts its moves at once); the inked pixels of the PNG
  // inserted, and whether the box was ticked when the board opened.
  int SignQuickly(office::HostDouble& host, bool tick) {
    beforeStroke = [&](UiDriver& d, HWND board) {
      HWND box = GetDlgItem(d.Child(board, L"InkraPenBar", nullptr), board::win::kChkTip);
      openedTicked = SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (tick) SendMessageW(box, BM_CLICK, 0, 0);
    };
    std::vector<POINT> quick;
    for (int x = 40; x <= 400; x += 20) quick.push_back({x, 100 + x / 4});
    Sign(host, -1, quick);
    const PngImage png = ReadPng(AddInDll::Shapes(host).items.back()->picture);
    int inked = 0;
    for (std::size_t i = 3; i < png.pixels.size(); i += 4) inked += png.pixels[i] != 0;
    return inked;
  }
  bool openedTicked = true;
};

TEST_F(PenTipThroughDll, TickedTheStrokeThinsAndTheChoiceIsKept) {
  ASSERT_TRUE(dll.Loaded());
  office::HostDouble host(office::HostKind::Word);
  Connect(host, L"16.0");
  const int chosenWidth = SignQuickly(host, false);
  EXPECT_FALSE(openedTicked);
  EXPECT_EQ(KeptChoice(L"PenTip"), std::nullopt);  // nothing written until the box is clicked
  const int tipped = SignQuickly(host, true);
  EXPECT_EQ(KeptChoice(L"PenTip"), 1u);
  EXPECT_LT(tipped, chosenWidth * 9 / 10);  // the band carries its edge pixels at any width
  SignQuickly(host, false);
  EXPECT_TRUE(openedTicked);
  addIn->OnDisconnection(0, nullptr);
}

}  // namespace
}  // namespace inkra::test
