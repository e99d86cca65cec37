// The ribbon double's reading of custom UI markup refuses what Office refuses, so that a clean
// result for the add-in's markup means something.
#include <gtest/gtest.h>

#include "TextConvert.h"
#include "hostdouble/Apartment.h"
#include "hostdouble/CustomUiMarkup.h"

namespace inkra::test::office {
namespace {

const std::wstring kOpen = L"<customUI xmlns=\"http://schemas.microsoft.com/office/2006/01/customui\"><ribbon><tabs>";
const std::wstring kClose = L"</tabs></ribbon></customUI>";
std::wstring InGroup(const std::wstring& buttons) {
  return kOpen + L"<tab idMso=\"TabInsert\"><group id=\"g\" label=\"G\">" + buttons + L"</group></tab>" + kClose;
}

TEST(RibbonDouble, TheMarkupCheckRefusesWhatOfficeRefuses) {
  Apartment apartment;
  const struct {
    const char* what;
    std::wstring markup;
    const wchar_t* problem;  // the start of the one problem expected; null: none
  } cases[] = {
      {"a good button", InGroup(L"<button id=\"b\" size=\"large\" label=\"L\" onAction=\"Go\" getImage=\"Img\"/>"),
       nullptr},
      {"not well-formed", InGroup(L"<button id=\"b\">"), L"not well-formed XML"},
      {"another namespace",
       L"<customUI xmlns=\"http://schemas.microsoft.com/office/2009/07/customui\"/>",
       L"<customUI> is not in the custom UI namespace"},
      {"no namespace", L"<customUI/>", L"<customUI> is not in the custom UI namespace"},
      {"an unknown attribute", InGroup(L"<button id=\"b\" caption=\"L\"/>"), L"<button> has no attribute caption"},
      {"an unknown element", InGroup(L"<knob id=\"b\"/>"), L"unknown element <knob>"},
      {"a button outside a group", kOpen + L"<tab idMso=\"TabInsert\"><button id=\"b\"/></tab>" + kClose,
       L"<button> cannot stand in <tab>"},
      {"no id", InGroup(L"<button label=\"L\"/>"), L"<button> needs exactly one of id, idMso, idQ"},
      {"an id twice", InGroup(L"<button id=\"g\"/>"), L"id \"g\" twice"},
      {"a size of its own", InGroup(L"<button id=\"b\" size=\"huge\"/>"), L"button size \"huge\""},
      {"two images", InGroup(L"<button id=\"b\" imageMso=\"Paste\" getImage=\"Img\"/>"),
       L"<button> has more than one of image, imageMso, getImage"},
      {"text in an element", InGroup(L"<button id=\"b\">x</button>"), L"text inside an element"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Ribbon ribbon;
    ribbon.markup = c.markup;
    std::vector<std::wstring> callbacks;
    ReadCustomUi(ribbon, callbacks);
    if (!c.problem) {
      EXPECT_EQ(ribbon.problems, std::vector<std::wstring>{});
      ASSERT_EQ(ribbon.buttons.size(), 1u);
      EXPECT_EQ(ribbon.buttons[0].tabIdMso, L"TabInsert");
      EXPECT_EQ(ribbon.buttons[0].groupLabel, L"G");
      EXPECT_EQ(ribbon.buttons[0].onAction, L"Go");
      EXPECT_EQ(callbacks, (std::vector<std::wstring>{L"Go", L"Img"}));
      continue;
    }
    ASSERT_EQ(ribbon.problems.size(), 1u) << (ribbon.problems.empty() ? "" : win::WideToUtf8(ribbon.problems[0]));
    EXPECT_EQ(ribbon.problems[0].rfind(c.problem, 0), 0u) << win::WideToUtf8(ribbon.problems[0]);
  }
}

}  // namespace
}  // namespace inkra::test::office
