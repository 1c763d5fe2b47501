#pragma once

#include <cstdint>

// Numbers of the display layer that window procedures see: the messages the
// queue's table does not carry, hit-test results, system commands, show commands,
// key and button state bits, virtual keys and message-box flags. They are the
// desktop system's own values, so a native backend passes them straight through.
namespace platform {

// Messages.
inline constexpr uint32_t kNcPaint = 0x0085;
inline constexpr uint32_t kNcMouseMove = 0x00A0;
inline constexpr uint32_t kNcLButtonDown = 0x00A1;
inline constexpr uint32_t kNcLButtonUp = 0x00A2;
inline constexpr uint32_t kNcLButtonDoubleClick = 0x00A3;
inline constexpr uint32_t kSysCommand = 0x0112;
inline constexpr uint32_t kMouseHWheel = 0x020E;
inline constexpr uint32_t kDpiChanged = 0x02E0;

// Hit-test results (kNcHitTest).
inline constexpr int kHtNowhere = 0;
inline constexpr int kHtClient = 1;
inline constexpr int kHtCaption = 2;
inline constexpr int kHtMinButton = 8;
inline constexpr int kHtMaxButton = 9;
inline constexpr int kHtLeft = 10;
inline constexpr int kHtRight = 11;
inline constexpr int kHtTop = 12;
inline constexpr int kHtTopLeft = 13;
inline constexpr int kHtTopRight = 14;
inline constexpr int kHtBottom = 15;
inline constexpr int kHtBottomLeft = 16;
inline constexpr int kHtBottomRight = 17;
inline constexpr int kHtClose = 20;

// System commands (kSysCommand wparam).
inline constexpr uint32_t kScSize = 0xF000;
inline constexpr uint32_t kScMove = 0xF010;
inline constexpr uint32_t kScMinimize = 0xF020;
inline constexpr uint32_t kScMaximize = 0xF030;
inline constexpr uint32_t kScClose = 0xF060;
inline constexpr uint32_t kScRestore = 0xF120;

// kSize wparam.
inline constexpr uint32_t kSizeRestored = 0;
inline constexpr uint32_t kSizeMinimized = 1;
inline constexpr uint32_t kSizeMaximized = 2;

// ShowWindow commands.
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowNoActivate = 4;
inline constexpr int kSwShow = 5;
inline constexpr int kSwMinimize = 6;
inline constexpr int kSwShowNa = 8;
inline constexpr int kSwRestore = 9;

// Mouse message wparam: buttons and modifier keys held.
inline constexpr uint32_t kMkLButton = 0x0001;
inline constexpr uint32_t kMkRButton = 0x0002;
inline constexpr uint32_t kMkShift = 0x0004;
inline constexpr uint32_t kMkControl = 0x0008;
inline constexpr uint32_t kMkMButton = 0x0010;
inline constexpr int kWheelDelta = 120;

// Virtual keys used by the layer itself.
inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkEscape = 0x1B;
inline constexpr uint32_t kVkTab = 0x09;
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkRight = 0x27;
inline constexpr uint32_t kVkF4 = 0x73;

// Message box: buttons, icon and results.
inline constexpr uint32_t kMbOk = 0x00;
inline constexpr uint32_t kMbRetryCancel = 0x05;
inline constexpr uint32_t kMbIconError = 0x10;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdRetry = 4;

// Packs a client point the way mouse messages carry it (signed 16-bit halves).
inline constexpr intptr_t MakePointParam(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(x)))) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(y))) << 16));
}
inline constexpr int PointParamX(intptr_t l) { return static_cast<int16_t>(static_cast<uint16_t>(l & 0xFFFF)); }
inline constexpr int PointParamY(intptr_t l) { return static_cast<int16_t>(static_cast<uint16_t>((l >> 16) & 0xFFFF)); }

}  // namespace platform
