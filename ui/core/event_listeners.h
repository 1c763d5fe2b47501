#pragma once

#include <functional>
#include <map>
#include <vector>

#include "ui/core/event_args.h"

namespace ui {

// A listener: true lets the event go on, false stops it. Listeners bound to a
// control or window are weak callbacks, so one whose owner is gone returns false.
using EventCallback = std::function<bool(EventArgs*)>;
using EventListenerList = std::vector<EventCallback>;
using EventListenerMap = std::map<EventType, EventListenerList>;

// Runs the listeners in order and stops at the first that returns false; the
// result is false then, otherwise true (also for an empty list). The list is
// copied first, so a listener may attach or detach listeners, or destroy the
// list's owner, while it runs.
bool RunListenerList(const EventListenerList& list, EventArgs* args);

// Runs the list of `type` in `map` if there is one and stores its result in
// *result; returns whether a list existed (an absent list leaves *result as it was).
bool RunListenerMap(const EventListenerMap& map, EventType type, EventArgs* args, bool* result);

// The listener maps of one control. The bubbled maps are used by boxes only:
// they see the events of all the box's descendants as they travel up.
struct EventListeners {
  EventListenerMap code;            // attached by program code
  EventListenerMap markup;          // attached by the skin's "Event" elements
  EventListenerMap bubbled_code;    // box only
  EventListenerMap bubbled_markup;  // box only, "BubbledEvent" elements
};

// What a control does after its listeners have seen an event.
enum class EventDelivery {
  kHandle,     // run the control's own handling (HandleEvent)
  kStop,       // a listener stopped the event; nothing more happens to it
  kDestroyed,  // a listener destroyed the control; touch nothing of it
};

// The listener part of delivering `args` to one control (its DispatchEvent).
//   1. Types 0 to 3 go straight to the control's own handling.
//   2. An event travelling up (the control is not the sender): a box runs its
//      bubbled lists (step 4), any other control handles it.
//   3. The sender runs its code lists for the type, then for kAll; only if
//      they let it through, its markup lists for the type and kAll. A plain
//      control then handles it or stops; a box goes on to step 4 with that
//      result.
//   4. A box runs its bubbled code lists for the type and kAll; if they stop
//      the event it ends. Then the bubbled markup lists for the type and
//      kAll decide between handling and stopping.
// Each list that runs replaces the running result, so a later list decides.
// `alive` is asked after every list that ran; once it answers false the
// delivery ends with kDestroyed.
EventDelivery DeliverToListeners(const EventListeners& listeners, EventArgs* args, bool is_sender,
                                 bool is_box, const std::function<bool()>& alive);

}  // namespace ui
