#include "ui/core/event_type.h"

#include <array>
#include <utility>

namespace ui {

namespace {

// The names skin markup may use in event attributes.
constexpr std::array<std::pair<std::u16string_view, EventType>, 25> kEventNames = {{
    {u"all", EventType::kAll},
    {u"keydown", EventType::kKeyDown},
    {u"keyup", EventType::kKeyUp},
    {u"char", EventType::kChar},
    {u"syskey", EventType::kSystemKey},
    {u"mousemove", EventType::kMouseMove},
    {u"mouseenter", EventType::kMouseEnter},
    {u"mouseleave", EventType::kMouseLeave},
    {u"mousehover", EventType::kMouseHover},
    {u"buttondown", EventType::kMouseButtonDown},
    {u"buttonup", EventType::kMouseButtonUp},
    {u"rbuttondown", EventType::kMouseRightButtonDown},
    {u"doubleclick", EventType::kMouseDoubleClick},
    {u"menu", EventType::kMouseMenu},
    {u"scrollwheel", EventType::kMouseWheel},
    {u"setfocus", EventType::kSetFocus},
    {u"killfocus", EventType::kKillFocus},
    {u"windowclose", EventType::kWindowClose},
    {u"setcursor", EventType::kSetCursor},
    {u"select", EventType::kSelect},
    {u"unselect", EventType::kUnSelect},
    {u"return", EventType::kReturn},
    {u"tab", EventType::kTab},
    {u"scrollchange", EventType::kScrollChange},
    {u"valuechange", EventType::kValueChange},
}};

}  // namespace

EventType EventTypeFromName(std::u16string_view name) {
  for (const auto& [text, type] : kEventNames) {
    if (text == name) return type;
  }
  return EventType::kNone;
}

std::u16string_view EventTypeName(EventType type) {
  for (const auto& [text, known] : kEventNames) {
    if (known == type) return text;
  }
  return {};
}

}  // namespace ui
