#pragma once
// The board's fixed texts (UTF-8): window, controls, messages, dialogs.
#include <array>
#include <cstdint>
#include <string>

#include "Product.h"

namespace inkra::board {

inline std::string BoardTitle() { return ProductTitle(); }

inline constexpr std::array<const char*, 7> kPenNames = {"特细", "细", "较细", "普通", "较粗", "粗", "特粗"};
inline constexpr int kDefaultPenIndex = 3;  // the list shows "普通"
inline constexpr char kPenLabel[] = "笔头：";
inline constexpr char kPenHint[] = "选择画笔大小";
// The check box of the pen's tip, after the placement list.
inline constexpr char kPenTipCaption[] = "笔锋";

inline constexpr char kMenuDelete[] = "删除";
inline constexpr char kMenuTimeStamp[] = "粘贴时间";
inline constexpr char kMenuSaveSettings[] = "保存当前设置";

inline constexpr char kSaveCaption[] = "保存";
inline constexpr char kSettingsSaved[] = "设置保存成功！";
inline constexpr char kSettingsNotSaved[] =
    "设置保存失败，请检查是否有权限，察看是否有第三方的安全监测软件！";

inline constexpr char kOpenFilter[] = "Bitmaps (*.bmp)|*.bmp|jpg(*.*.jpg)|*.jpg";
inline constexpr char kSaveFilter[] = "bmp图片|*.bmp|jpg图片|*.jpg";
inline constexpr char kSaveDefaultExt[] = "bmp";

inline constexpr char kHandOffPath[] = "c:\\00000001InkraWebWhirte.wmf";
inline constexpr char kSealHandOffPath[] = "c:\\temp00000001.bmp";
inline constexpr char kCursorPath[] = "C:\\Inkratemp.cur";
inline constexpr int kBoardCursorId = 23;

inline constexpr char kScanWaitingHint[] = "正在等待扫描仪……扫描完成后请关闭扫描仪窗口，或按 Esc 结束。";

inline constexpr char kPictureUnusable[] = "无法使用这个图片：文件已损坏、格式不受支持或图片太大。";

// A picture refused before it is decoded: its size, the memory it would take and the limit, in MB.
inline std::string PictureTooLargeText(long long width, long long height, std::uint64_t bytes, std::uint64_t limit) {
  const auto mb = [](std::uint64_t b) { return std::to_string((b + (1 << 20) - 1) >> 20); };
  return "图片太大，无法打开：它有 " + std::to_string(width) + " × " + std::to_string(height) + " 像素，需要 " +
         mb(bytes) + " MB 内存，而画板最多只能容纳 " + mb(limit) + " MB 的图片。";
}

inline constexpr char kUndoRefused[] = "这一步的图片太大，内存容纳不下，无法撤销。画板上的图片和其他步骤都保持不变。";
inline constexpr char kRedoRefused[] = "这一步的图片太大，内存容纳不下，无法恢复。画板上的图片和其他步骤都保持不变。";

inline constexpr char kChangeRefused[] =
    "内存不足，画板无法保留现在的图片以便撤销，所以这一步没有执行。画板上的图片和其他步骤都保持不变。";

inline std::string UnsupportedPictureText(const std::string& extension) {
  return "不能打开这种文件（" + (extension.empty() ? std::string("无扩展名") : extension) +
         "）：只能打开 BMP 和 JPEG 图片。";
}

}  // namespace inkra::board
