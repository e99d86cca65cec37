#pragma once
// The scanner module's own message texts and captions.

namespace inkra::twain {

inline constexpr char kErrorCaption[] = "TWAIN Error";
inline constexpr char kAssertCaption[] = "TWAIN";
inline constexpr char kAssertText[] = "Assertion failed";
inline constexpr char kSelectInvalidWindow[] = "TWAIN_SelectImageSource: window handle is invalid";
inline constexpr char kSelectNoProxy[] = "TWAIN_SelectImageSource: Unable to create proxy window";
inline constexpr char kAcquireNoProxy[] = "Unable to create proxy window";
inline constexpr char kCannotLoadManager[] = "Unable to load Source Manager (TWAIN_32.DLL)";
inline constexpr char kCannotOpenManager[] = "Unable to open Source Manager (TWAIN_32.DLL)";
inline constexpr char kReportLastError[] = "TWAIN_ReportLastError: an error occurred";

inline constexpr char kManagerFile[] = "TWAIN_32.DLL";
inline constexpr char kManagerFile64[] = "TWAINDSM.DLL";

}  // namespace inkra::twain
