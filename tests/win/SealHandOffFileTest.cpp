// The hand-off write: the fixed path first, the temporary folder when the fixed path is refused.
#include <gtest/gtest.h>

#include "Errors.h"
#include "SealTestSupport.h"
#include "TextConvert.h"

namespace inkra::test {
namespace {

const std::vector<std::uint8_t> kBytes = {'B', 'M', 0, 1, 2, 3, 0xFF};

std::wstring UniqueName(const wchar_t* stem) {
  return stem + std::to_wstring(GetCurrentProcessId()) + L".bmp";
}

TEST(HandOffFile, WritesTheFixedPathWhenAllowedReplacingAnyFile) {
  ScratchFolder scratch(L"handoff");
  const std::wstring path = scratch.File(L"temp00000001.bmp");
  win::WriteHandOffFile(path, std::vector<std::uint8_t>(100, 7));
  EXPECT_EQ(win::WriteHandOffFile(path, kBytes), path);
  EXPECT_EQ(ReadFileBytes(std::filesystem::path(path)), kBytes);
}

TEST(HandOffFile, RefusedFixedPathFallsBackToTheTemporaryFolder) {
  ScratchFolder scratch(L"handoffrefused");
  const std::wstring name = UniqueName(L"handoff-dir");
  const std::wstring fixed = scratch.Blocked(name);  // a directory: access denied
  const std::wstring expected = win::TempFolderPathFor(fixed);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  EXPECT_EQ(expected, std::wstring(temp) + name);
  EXPECT_EQ(win::WriteHandOffFile(fixed, kBytes), expected);
  EXPECT_EQ(ReadFileBytes(std::filesystem::path(expected)), kBytes);
  DeleteFileW(expected.c_str());
}

TEST(HandOffFile, BothRefusedThrowsNamingTheFixedPath) {
  ScratchFolder scratch(L"handoffboth");
  const std::wstring name = UniqueName(L"handoff-both");
  const std::wstring fixed = scratch.BlockedWithStandIn(name);
  try {
    win::WriteHandOffFile(fixed, kBytes);
    ADD_FAILURE() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + win::WideToUtf8(fixed));
  }
}

TEST(HandOffFile, MissingFolderIsAnErrorNotAFallback) {
  ScratchFolder scratch(L"handoffmissing");
  const std::wstring fixed = scratch.File(L"no-such-folder\\temp00000001.bmp");
  EXPECT_THROW(win::WriteHandOffFile(fixed, kBytes), FileError);
}

}  // namespace
}  // namespace inkra::test
