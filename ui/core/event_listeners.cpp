#include "ui/core/event_listeners.h"

namespace ui {

bool RunListenerList(const EventListenerList& list, EventArgs* args) {
  if (list.empty()) return true;
  // A copy: listeners may change the list, or destroy its owner, while running.
  EventListenerList running = list;
  for (const EventCallback& listener : running) {
    if (listener && !listener(args)) return false;
  }
  return true;
}

bool RunListenerMap(const EventListenerMap& map, EventType type, EventArgs* args, bool* result) {
  auto it = map.find(type);
  if (it == map.end()) return false;
  *result = RunListenerList(it->second, args);
  return true;
}

EventDelivery DeliverToListeners(const EventListeners& listeners, EventArgs* args, bool is_sender,
                                 bool is_box, const std::function<bool()>& alive) {
  if (IsInternalEvent(args->type)) return EventDelivery::kHandle;

  bool result = true;
  // Runs the lists for the event's type and for kAll; false when a list ran
  // and the control did not survive it.
  auto run_pair = [&](const EventListenerMap& map) {
    if (RunListenerMap(map, args->type, args, &result) && !alive()) return false;
    if (RunListenerMap(map, EventType::kAll, args, &result) && !alive()) return false;
    return true;
  };

  if (is_sender) {
    if (!run_pair(listeners.code)) return EventDelivery::kDestroyed;
    if (result && !run_pair(listeners.markup)) return EventDelivery::kDestroyed;
    if (!is_box) return result ? EventDelivery::kHandle : EventDelivery::kStop;
  } else if (!is_box) {
    return EventDelivery::kHandle;
  }

  if (!run_pair(listeners.bubbled_code)) return EventDelivery::kDestroyed;
  if (!result) return EventDelivery::kStop;
  if (!run_pair(listeners.bubbled_markup)) return EventDelivery::kDestroyed;
  return result ? EventDelivery::kHandle : EventDelivery::kStop;
}

}  // namespace ui
