#pragma once
// The add-ins' fixed texts (UTF-8): what the user is told when a confirmed signature could not
// be placed in the document. The signature is then on the clipboard, and the message says so.
#include <string>

namespace inkra::addin {

// The box is captioned with the button's name, as the board's boxes carry their command's.
inline constexpr char kInsertCaption[] = "手写签名";

inline constexpr char kNotInserted[] = "签名没有插入到文档中：";

// Why, in the user's words.
inline constexpr char kNoDocumentWindow[] = "Word 中没有可以插入图片的文档窗口。";
inline constexpr char kNoWorkbookWindow[] = "Excel 中没有可以放置图片的工作簿窗口。";
inline constexpr char kSheetTakesNoPicture[] = "当前工作表不能放置图片，请换到普通工作表。";
inline constexpr char kDocumentProtected[] = "文档处于保护状态，不允许插入图片。";
inline constexpr char kSheetProtected[] = "工作表处于保护状态，不允许插入图片。";
inline constexpr char kStraddleNeedsPages[] = "骑缝章需要两页或更多页的文档。";
inline constexpr char kCursorUnknown[] = "无法确定光标的位置，签名已放在页面左上角。";
inline constexpr char kHostGone[] = "插件已与 Office 断开连接。";
inline constexpr char kHostRefused[] = "Office 没有接受这张图片";

inline constexpr char kOnClipboard[] = "签名已复制到剪贴板，在文档中按 Ctrl+V 即可粘贴。";
inline constexpr char kNotOnClipboard[] = "签名也未能复制到剪贴板，请重新签名。";

// kHostRefused with the host's own words, when it gave any.
inline std::string HostRefusedText(const std::string& hostDescription) {
  return hostDescription.empty() ? std::string(kHostRefused) + "。"
                                 : std::string(kHostRefused) + "（" + hostDescription + "）。";
}

// The whole message: what happened, why, and where the signature is now.
inline std::string NotInsertedText(const std::string& reason, bool onClipboard) {
  return std::string(kNotInserted) + reason + "\n\n" + (onClipboard ? kOnClipboard : kNotOnClipboard);
}

}  // namespace inkra::addin
