#pragma once

#include <cstdint>
#include <string_view>

namespace ui {

// The kinds of UI events. The numbers are fixed (skins and handlers keep
// them); values not listed carry no meaning.
enum class EventType : int32_t {
  // Internal: reach only the control's own handling, never a listener.
  kInternalDoubleClick = 0,
  kInternalContextMenu = 1,
  kInternalSetFocus = 2,
  kInternalKillFocus = 3,

  kNone = 4,
  kAll = 6,  // listeners registered under kAll see every event

  kKeyDown = 8,
  kKeyUp = 9,
  kChar = 10,
  kSystemKey = 11,

  kMouseMove = 14,
  kMouseEnter = 15,
  kMouseLeave = 16,
  kMouseHover = 17,
  kMouseButtonDown = 18,
  kMouseButtonUp = 19,
  kMouseRightButtonDown = 20,
  kMouseRightButtonUp = 21,
  kMouseDoubleClick = 22,
  kMouseMenu = 23,
  kMouseWheel = 24,

  kTouchDown = 27,
  kTouchMove = 28,
  kTouchUp = 29,

  kPointDown = 32,
  kPointMove = 33,
  kPointUp = 34,

  kSetFocus = 36,
  kKillFocus = 37,
  kWindowSize = 38,
  kWindowClose = 39,
  kSetCursor = 40,

  kClick = 41,
  kSelect = 42,
  kUnSelect = 43,
  kTextChange = 44,
  kReturn = 45,
  kTab = 46,
  kLinkClick = 47,
  kImeStartComposition = 48,
  kImeEndComposition = 49,
  kScrollChange = 50,
  kValueChange = 51,
  kResize = 52,
};

// Mouse events proper (move to wheel): passed on at once by a control whose
// mouse input is disabled.
constexpr bool IsMouseEvent(EventType type) {
  return type >= EventType::kMouseMove && type <= EventType::kMouseWheel;
}
// Types 0 to 3 skip every listener list.
constexpr bool IsInternalEvent(EventType type) {
  return type >= EventType::kInternalDoubleClick && type <= EventType::kInternalKillFocus;
}

// The name skin markup uses for a type ("buttondown", "all", ...); any other
// text gives kNone. Exact, case-sensitive.
EventType EventTypeFromName(std::u16string_view name);
// The markup name of a type, or the empty string for a type without one.
std::u16string_view EventTypeName(EventType type);

}  // namespace ui
