// A click on the Word add-in's button, end to end: the real board window driven by the UI driver,
// the picture inserted into the Word host double, and what follows a refusal.
#include <windows.h>
#include <commctrl.h>

#include <filesystem>

#include "HandOffFile.h"
#include "ToolbarClickSupport.h"
#include "WordAddInTestSupport.h"
#include "hostdouble/HostWindow.h"

namespace inkra::addin {
namespace {

using board::win::BoardOptions;
using test::UiDriver;
using test::office::CallRecord;
using test::office::ControlState;
using test::office::ShapeState;

constexpr std::uint32_t kRed = 0x0000FF;

class WordClick : public HostClick {
 protected:
  WordClick() : HostClick(test::office::HostKind::Word, new ExposedWordAddIn) {}
  ShapeState& OnlyShape(size_t document = 0) {
    auto& shapes = word.Word().documents.at(document)->shapes.items;
    EXPECT_EQ(shapes.size(), 1u);
    return *shapes.at(0);
  }

  test::office::HostDouble& word = host;
};

TEST_F(WordClick, ABoardOf400By300IsInsertedAsAFloatingTransparentPictureOf300By225Points) {
  OpenDocument();
  word.Word().selectionStart = 5;
  word.Word().selectionEnd = 9;
  Click([](UiDriver&, HWND, HWND toolbar, HWND view) {
    test::ClickTool(toolbar, board::win::kBtnOpen);  // natural mode: the view takes the picture's size
    test::Stroke(view, {{50, 150}, {150, 150}, {250, 150}, {350, 150}});
    test::ClickTool(toolbar, board::win::kBtnOK);
  });

  // Where and how it floats is each call's arguments, checked in the next test.
  ASSERT_EQ(word.Word().documents.size(), 1u);
  const ShapeState& shape = OnlyShape();
  EXPECT_EQ(shape.fileName, handOff);
  EXPECT_EQ(std::tuple(shape.pixelWidth, shape.pixelHeight, shape.width, shape.height),
            std::tuple(400u, 300u, 300.0f, 225.0f));
  EXPECT_FALSE(shape.hasAnchor);
  EXPECT_EQ(std::tuple(word.Word().selectionStart, word.Word().selectionEnd), std::tuple(0, 0));
  EXPECT_FALSE(FileExists(handOff));
  EXPECT_TRUE(word.log().CallsTo(L"Documents", L"Add").empty());

  // What Word embedded is the signed board: red along the stroke, white away from it.
  Bitmap embedded = ReadBmp(shape.picture);
  ASSERT_EQ(embedded.Width(), 400);
  EXPECT_GT(test::CountInRow(embedded, 151, 60, 340, kRed), 200);
  EXPECT_EQ(test::CountInRow(embedded, 40, 0, 400, 0xFFFFFF), 400);
}

TEST_F(WordClick, TheInsertionPassesEachArgumentWithItsTypeInTheOrderOfTheSteps) {
  OpenDocument();
  Click([](UiDriver& d, HWND b, HWND toolbar, HWND v) {
    test::ClickTool(toolbar, board::win::kBtnOpen);
    Confirm(d, b, toolbar, v);
  });
  const auto& log = word.log();
  EXPECT_EQ(CallNames(log),
            (std::vector<std::wstring>{
                L"Application.Documents", L"Documents.Count", L"Documents.Application", L"Application.ActiveDocument",
                L"Document.Shapes", L"Shapes.AddPicture", L"Shape.Select", L"Shape.Name", L"Shape.PictureFormat",
                L"PictureFormat.TransparentBackground", L"PictureFormat.TransparencyColor", L"Shape.Fill",
                L"FillFormat.Visible", L"Shape.WrapFormat", L"WrapFormat.Type", L"Shape.ZOrder",
                L"Application.Selection", L"Selection.Start", L"Selection.End"}))
      << win::WideToUtf8(log.Describe());

  EXPECT_EQ(ArgsOf(OnlyCall(log, L"Shapes", L"AddPicture")),
            (std::vector<std::wstring>{L"VT_BSTR \"" + handOff + L"\"", L"VT_BOOL 0", L"VT_BOOL -1", L"VT_I4 100",
                                       L"VT_I4 100", L"VT_R8 300", L"VT_R8 225", L"VT_ERROR 0x80020004"}));
  // Every other value is a 32-bit integer, the name a string.
  const struct {
    const wchar_t *object, *member, *arg;
  } singles[] = {{L"Shape", L"Select", L"VT_I4 0"},
                 {L"Shape", L"Name", L"VT_BSTR \"kvt\""},
                 {L"PictureFormat", L"TransparentBackground", L"VT_I4 -1"},
                 {L"PictureFormat", L"TransparencyColor", L"VT_I4 16777215"},
                 {L"FillFormat", L"Visible", L"VT_I4 0"},
                 {L"WrapFormat", L"Type", L"VT_I4 3"},
                 {L"Shape", L"ZOrder", L"VT_I4 4"},
                 {L"Selection", L"Start", L"VT_I4 0"},
                 {L"Selection", L"End", L"VT_I4 0"}};
  for (const auto& c : singles)
    EXPECT_EQ(ArgsOf(OnlyCall(log, c.object, c.member)), std::vector<std::wstring>{c.arg}) << win::WideToUtf8(c.member);
}

TEST_F(WordClick, WithNoDocumentOpenOneIsAddedWithFourMissingArgumentsAndTakesThePicture) {
  ASSERT_TRUE(word.Word().documents.empty());
  Click(&Confirm);  // a fresh board: fill mode, 602 x 258
  EXPECT_EQ(ArgsOf(OnlyCall(word.log(), L"Documents", L"Add")), std::vector<std::wstring>(4, L"VT_ERROR 0x80020004"));
  ASSERT_EQ(word.Word().documents.size(), 1u);
  const ShapeState& shape = OnlyShape(0);
  EXPECT_EQ(shape.width, 451.5f);
  EXPECT_EQ(shape.height, 193.5f);
  EXPECT_EQ(shape.name, L"kvt");
  EXPECT_FALSE(FileExists(handOff));
}

TEST_F(WordClick, ACancelledBoardMakesNoCallOnWordAtAll) {
  OpenDocument();
  Click([](UiDriver&, HWND, HWND toolbar, HWND view) {
    test::Stroke(view, {{10, 10}, {80, 40}});
    test::ClickTool(toolbar, board::win::kBtnExit);
  });
  Click([](UiDriver& d, HWND board, HWND, HWND view) {
    test::Stroke(view, {{10, 10}, {80, 40}});
    d.Close(board);  // the close box
  });
  EXPECT_TRUE(word.log().Calls().empty()) << win::WideToUtf8(word.log().Describe());
  EXPECT_TRUE(word.Word().documents.at(0)->shapes.items.empty());
  EXPECT_FALSE(FileExists(handOff));
}

TEST_F(WordClick, TheRefusalBoxDisablesEveryWindowOfTheHostUntilItIsAnswered) {
  word.log().FailCall(L"Shapes", L"AddPicture", E_FAIL);
  OpenDocument();
  test::office::HostWindow main(word, button), second(word, button);  // two document windows
  bool disabledWhileShown = false;
  Click([&](UiDriver& d, HWND, HWND toolbar, HWND) {
    test::ClickTool(toolbar, board::win::kBtnOK);
    HWND box = d.WaitForWindow(test::kDialogClass, L"手写签名");
    disabledWhileShown = !IsWindowEnabled(main.Handle()) && !IsWindowEnabled(second.Handle());
    d.PressButton(box, IDOK);
  });
  EXPECT_TRUE(disabledWhileShown);
  EXPECT_TRUE(IsWindowEnabled(main.Handle()));
  EXPECT_TRUE(IsWindowEnabled(second.Handle()));
}

TEST_F(WordClick, ADocumentProtectedOnlyForRevisionsTakesThePictureWithoutABox) {
  OpenDocument();
  word.Word().documents[0]->protectionType = 0;  // wdAllowOnlyRevisions: the insertion is tracked
  std::vector<test::MessageBoxInfo> boxes;
  Click(&ConfirmPicture, 1500, &boxes);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(OnlyShape().name, L"kvt");
  EXPECT_TRUE(word.log().CallsTo(L"Document", L"ProtectionType").empty());  // asked only after a refusal
}

TEST_F(WordClick, AFailureAfterTheInsertionKeepsThePictureWithThePropertiesSetSoFar) {
  OpenDocument();
  word.Word().selectionStart = 7;
  word.log().FailCall(L"Shape", L"WrapFormat", E_FAIL);
  Click(&Confirm);
  const ShapeState& shape = OnlyShape();
  EXPECT_EQ(shape.name, L"kvt");
  EXPECT_EQ(shape.transparentBackground, -1);
  EXPECT_EQ(shape.fillVisible, 0);
  EXPECT_EQ(shape.wrapType, 0);  // Word's default, left alone
  EXPECT_TRUE(shape.zOrders.empty());
  EXPECT_EQ(word.Word().selectionStart, 7);
  EXPECT_FALSE(FileExists(handOff));  // deleted right after Word took it
}

TEST_F(WordClick, HandOffFilesACrashLeftGoAtTheNextConnectionAndASealFileAtTheEndOfEachClick) {
  const std::vector<std::uint8_t> signature = {'B', 'M', 1, 2, 3};
  const std::wstring fixedSeal = L"c:\\word" + std::to_wstring(GetCurrentProcessId()) + L"-seal.bmp";
  const std::wstring left[] = {handOff, seal, fixedSeal, win::TempFolderPathFor(fixedSeal)};
  for (const std::wstring& path : left) WriteFileBytes(path, signature);
  BoardOptions o = Options();
  o.sealHandOffPath = fixedSeal;
  addIn->SetBoardOptions(o);
  ASSERT_EQ(addIn->OnConnection(word.Application(), 0, nullptr, nullptr), S_OK);
  for (const std::wstring& path : {handOff, fixedSeal, win::TempFolderPathFor(fixedSeal)})
    EXPECT_FALSE(FileExists(path)) << win::WideToUtf8(path);
  EXPECT_TRUE(FileExists(seal));  // not this add-in's path now
  DeleteFileW(seal.c_str());

  // A seal file that stayed behind during the board (the board never took it) goes with the click.
  OpenDocument();
  Click([&](UiDriver&, HWND, HWND toolbar, HWND) {
    WriteFileBytes(win::TempFolderPathFor(fixedSeal), signature);
    test::ClickTool(toolbar, board::win::kBtnOK);
  });
  EXPECT_FALSE(FileExists(win::TempFolderPathFor(fixedSeal)));
  EXPECT_EQ(OnlyShape().name, L"kvt");
}

TEST_F(WordClick, TheFileInsertedAndDeletedIsTheOneTheBoardWrote) {
  // A folder at the requested path refuses the file, so the board writes its stand-in in the
  // temporary folder; Word must be given that one.
  const std::wstring refused = L"c:\\word" + std::to_wstring(GetCurrentProcessId()) + L"-refused.wmf";
  ASSERT_TRUE(CreateDirectoryW(refused.c_str(), nullptr));
  BoardOptions o = Options();
  o.handOffPath = refused;
  addIn->SetBoardOptions(o);
  OpenDocument();
  Click(&Confirm);
  RemoveDirectoryW(refused.c_str());
  const std::wstring standIn = win::TempFolderPathFor(refused);
  EXPECT_EQ(OnlyShape().fileName, standIn);
  EXPECT_FALSE(FileExists(standIn));
}

TEST_F(WordClick, EachClickIsAFreshBoard) {
  OpenDocument();
  Click([](UiDriver&, HWND, HWND toolbar, HWND view) {
    test::Stroke(view, {{20, 20}, {120, 20}});
    test::ClickTool(toolbar, board::win::kBtnOK);
  });
  Click(&Confirm);
  auto& shapes = word.Word().documents.at(0)->shapes.items;
  ASSERT_EQ(shapes.size(), 2u);
  // The second board starts white: nothing of the first signature carries over.
  Bitmap first = ReadBmp(shapes[0]->picture), second = ReadBmp(shapes[1]->picture);
  EXPECT_GT(test::CountInRow(first, 21, 30, 110, kRed), 0);
  EXPECT_EQ(test::CountInRow(second, 21, 0, second.Width(), 0xFFFFFF), second.Width());
  EXPECT_EQ(shapes[1]->name, L"kvt");
}

}  // namespace
}  // namespace inkra::addin
