#pragma once

#include <cstdint>

// Window-message numbers, queue-status bits and peek flags. The numbers are the
// desktop system's own, so a native backend can pass them straight through.
namespace platform {

// Messages.
inline constexpr uint32_t kNull = 0x0000;
inline constexpr uint32_t kCreate = 0x0001;
inline constexpr uint32_t kDestroy = 0x0002;
inline constexpr uint32_t kMove = 0x0003;
inline constexpr uint32_t kSize = 0x0005;
inline constexpr uint32_t kActivate = 0x0006;
inline constexpr uint32_t kSetFocus = 0x0007;
inline constexpr uint32_t kKillFocus = 0x0008;
inline constexpr uint32_t kEnable = 0x000A;
inline constexpr uint32_t kPaint = 0x000F;
inline constexpr uint32_t kClose = 0x0010;
inline constexpr uint32_t kQuit = 0x0012;
inline constexpr uint32_t kEraseBackground = 0x0014;
inline constexpr uint32_t kShowWindow = 0x0018;
inline constexpr uint32_t kActivateApp = 0x001C;
inline constexpr uint32_t kSetCursor = 0x0020;
inline constexpr uint32_t kMouseActivate = 0x0021;
inline constexpr uint32_t kGetMinMaxInfo = 0x0024;
inline constexpr uint32_t kWindowPosChanging = 0x0046;
inline constexpr uint32_t kWindowPosChanged = 0x0047;
inline constexpr uint32_t kNotify = 0x004E;
inline constexpr uint32_t kContextMenu = 0x007B;
inline constexpr uint32_t kNcCreate = 0x0081;
inline constexpr uint32_t kNcDestroy = 0x0082;
inline constexpr uint32_t kNcCalcSize = 0x0083;
inline constexpr uint32_t kNcHitTest = 0x0084;
inline constexpr uint32_t kNcActivate = 0x0086;
inline constexpr uint32_t kKeyDown = 0x0100;
inline constexpr uint32_t kKeyUp = 0x0101;
inline constexpr uint32_t kChar = 0x0102;
inline constexpr uint32_t kSysKeyDown = 0x0104;
inline constexpr uint32_t kSysKeyUp = 0x0105;
inline constexpr uint32_t kSysChar = 0x0106;
inline constexpr uint32_t kKeyLast = 0x0109;
inline constexpr uint32_t kImeStartComposition = 0x010D;
inline constexpr uint32_t kImeEndComposition = 0x010E;
inline constexpr uint32_t kTimer = 0x0113;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLButtonDown = 0x0201;
inline constexpr uint32_t kLButtonUp = 0x0202;
inline constexpr uint32_t kLButtonDoubleClick = 0x0203;
inline constexpr uint32_t kRButtonDown = 0x0204;
inline constexpr uint32_t kRButtonUp = 0x0205;
inline constexpr uint32_t kRButtonDoubleClick = 0x0206;
inline constexpr uint32_t kMButtonDown = 0x0207;
inline constexpr uint32_t kMButtonUp = 0x0208;
inline constexpr uint32_t kMButtonDoubleClick = 0x0209;
inline constexpr uint32_t kMouseWheel = 0x020A;
inline constexpr uint32_t kMouseLast = 0x020D;
inline constexpr uint32_t kCaptureChanged = 0x0215;
inline constexpr uint32_t kMouseHover = 0x02A1;
inline constexpr uint32_t kMouseLeave = 0x02A3;
inline constexpr uint32_t kUser = 0x0400;
inline constexpr uint32_t kApp = 0x8000;

// Queue-status bits (GetQueueStatus, WaitForInput's wake mask).
inline constexpr uint32_t kQsKey = 0x0001;
inline constexpr uint32_t kQsMouseMove = 0x0002;
inline constexpr uint32_t kQsMouseButton = 0x0004;
inline constexpr uint32_t kQsMouse = kQsMouseMove | kQsMouseButton;
inline constexpr uint32_t kQsPostMessage = 0x0008;
inline constexpr uint32_t kQsTimer = 0x0010;
inline constexpr uint32_t kQsPaint = 0x0020;
inline constexpr uint32_t kQsSendMessage = 0x0040;
inline constexpr uint32_t kQsHotKey = 0x0080;
inline constexpr uint32_t kQsAllPostMessage = 0x0100;
inline constexpr uint32_t kQsRawInput = 0x0400;
inline constexpr uint32_t kQsInput = kQsMouse | kQsKey | kQsRawInput;
inline constexpr uint32_t kQsAllInput = 0x04FF;

// PeekMessage removal flags.
inline constexpr uint32_t kPmNoRemove = 0x0000;
inline constexpr uint32_t kPmRemove = 0x0001;

// WaitForInput flags: return at once when matching input is already queued,
// even if it was seen by an earlier peek.
inline constexpr uint32_t kWaitInputAvailable = 0x0004;
inline constexpr uint32_t kInfinite = 0xFFFFFFFF;

}  // namespace platform
