#include "ui/core/event_listeners.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace ui {
namespace {

// A minimal control: a name, a parent, the listener maps, and the default
// routing of its own handling (pass the event up to the parent).
struct Node {
  std::string name;
  Node* parent = nullptr;
  bool is_box = false;
  EventListeners listeners;
  std::shared_ptr<bool> alive = std::make_shared<bool>(true);
  std::vector<std::string>* log = nullptr;
  bool consume = false;  // own handling stops the event

  Control* AsSender() { return reinterpret_cast<Control*>(this); }

  void Dispatch(EventArgs* args) {
    std::weak_ptr<bool> flag = alive;
    EventDelivery delivery = DeliverToListeners(listeners, args, args->sender == AsSender(), is_box,
                                                [flag] { return !flag.expired(); });
    if (delivery != EventDelivery::kHandle) return;
    log->push_back(name + ".handle");
    if (!consume && parent != nullptr) parent->Dispatch(args);
  }
};

// A listener that logs its name and answers `result`.
EventCallback Logged(std::vector<std::string>* log, std::string name, bool result) {
  return [log, name, result](EventArgs*) {
    log->push_back(name);
    return result;
  };
}

class EventDeliveryTest : public ::testing::Test {
 protected:
  EventDeliveryTest() {
    for (Node* node : {&root_, &box_, &button_}) node->log = &log_;
    root_.name = "root";
    root_.is_box = true;
    box_.name = "box";
    box_.is_box = true;
    box_.parent = &root_;
    button_.name = "button";
    button_.parent = &box_;
  }
  EventArgs Event(EventType type, Node& sender) {
    EventArgs args;
    args.type = type;
    args.sender = sender.AsSender();
    return args;
  }
  std::string Deliver(EventType type, Node& sender) {
    log_.clear();
    EventArgs args = Event(type, sender);
    sender.Dispatch(&args);
    std::string out;
    for (const std::string& entry : log_) out += (out.empty() ? "" : " ") + entry;
    return out;
  }

  std::vector<std::string> log_;
  Node root_, box_, button_;
};

TEST_F(EventDeliveryTest, SenderListsThenBubbledListsUpTheTree) {
  button_.listeners.code[EventType::kClick].push_back(Logged(&log_, "code", true));
  button_.listeners.code[EventType::kAll].push_back(Logged(&log_, "code-all", true));
  button_.listeners.markup[EventType::kClick].push_back(Logged(&log_, "markup", true));
  box_.listeners.bubbled_code[EventType::kClick].push_back(Logged(&log_, "box-bubbled", true));
  box_.listeners.bubbled_markup[EventType::kAll].push_back(Logged(&log_, "box-bubbled-markup-all", true));
  box_.listeners.code[EventType::kClick].push_back(Logged(&log_, "box-code-not-sender", true));
  root_.listeners.bubbled_code[EventType::kClick].push_back(Logged(&log_, "root-bubbled", true));
  EXPECT_EQ(Deliver(EventType::kClick, button_),
            "code code-all markup button.handle box-bubbled box-bubbled-markup-all box.handle root-bubbled "
            "root.handle");
}

TEST_F(EventDeliveryTest, StoppingListeners) {
  struct Case {
    const char* name;
    bool code;      // result of the code list for the type
    bool code_all;  // result of the code list for kAll (absent when unset)
    bool has_all;
    const char* expected;
  };
  const Case cases[] = {
      // A plain control whose code listener stops: no markup listeners, no
      // own handling, nothing reaches the parent.
      {"stop", false, true, false, "code"},
      // The kAll list runs later and decides.
      {"all overrides", false, true, true, "code code-all markup button.handle box.handle root.handle"},
      {"all stops", true, false, true, "code code-all"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    button_.listeners = {};
    button_.listeners.code[EventType::kClick].push_back(Logged(&log_, "code", c.code));
    if (c.has_all) button_.listeners.code[EventType::kAll].push_back(Logged(&log_, "code-all", c.code_all));
    button_.listeners.markup[EventType::kClick].push_back(Logged(&log_, "markup", true));
    EXPECT_EQ(Deliver(EventType::kClick, button_), c.expected);
  }
}

// A box that is the sender and whose code listener stops still runs its
// bubbled lists from "false": own handling only when one exists and lets it go.
TEST_F(EventDeliveryTest, BoxSenderStoppedByCodeListener) {
  box_.listeners.code[EventType::kClick].push_back(Logged(&log_, "code", false));
  box_.listeners.markup[EventType::kClick].push_back(Logged(&log_, "markup", true));
  EXPECT_EQ(Deliver(EventType::kClick, box_), "code");
  box_.listeners.bubbled_code[EventType::kClick].push_back(Logged(&log_, "bubbled", true));
  EXPECT_EQ(Deliver(EventType::kClick, box_), "code bubbled box.handle root.handle");
  box_.listeners.bubbled_markup[EventType::kClick].push_back(Logged(&log_, "bubbled-markup", false));
  EXPECT_EQ(Deliver(EventType::kClick, box_), "code bubbled bubbled-markup");
}

TEST_F(EventDeliveryTest, InternalTypesReachNoListener) {
  for (EventType type : {EventType::kInternalDoubleClick, EventType::kInternalContextMenu,
                         EventType::kInternalSetFocus, EventType::kInternalKillFocus}) {
    button_.listeners.code[type].push_back(Logged(&log_, "code", false));
    button_.listeners.code[EventType::kAll].push_back(Logged(&log_, "all", false));
    box_.listeners.bubbled_code[EventType::kAll].push_back(Logged(&log_, "bubbled", false));
    EXPECT_EQ(Deliver(type, button_), "button.handle box.handle root.handle");
  }
}

TEST_F(EventDeliveryTest, OnlyTheAllListExists) {
  button_.listeners.code[EventType::kAll].push_back(Logged(&log_, "all", false));
  EXPECT_EQ(Deliver(EventType::kMouseEnter, button_), "all");
}

// A listener that destroys its control: nothing of it runs afterwards, and the
// event does not reach the parent.
TEST_F(EventDeliveryTest, ListenerDestroysItsControl) {
  auto doomed = std::make_unique<Node>();
  doomed->name = "doomed";
  doomed->parent = &box_;
  doomed->log = &log_;
  Node* raw = doomed.get();
  raw->listeners.code[EventType::kClick].push_back([&](EventArgs*) {
    log_.push_back("destroy");
    doomed.reset();
    return true;
  });
  raw->listeners.code[EventType::kClick].push_back(Logged(&log_, "same-list", true));
  raw->listeners.code[EventType::kAll].push_back(Logged(&log_, "all", true));
  box_.listeners.bubbled_code[EventType::kClick].push_back(Logged(&log_, "bubbled", true));
  log_.clear();
  EventArgs args = Event(EventType::kClick, *raw);
  raw->Dispatch(&args);
  EXPECT_EQ(log_, (std::vector<std::string>{"destroy", "same-list"}));
}

TEST(EventTypeTest, NumbersAndMarkupNames) {
  EXPECT_EQ(static_cast<int>(EventType::kClick), 41);
  EXPECT_EQ(static_cast<int>(EventType::kSelect), 42);
  EXPECT_EQ(static_cast<int>(EventType::kUnSelect), 43);
  EXPECT_EQ(static_cast<int>(EventType::kTextChange), 44);
  EXPECT_EQ(static_cast<int>(EventType::kValueChange), 51);
  EXPECT_EQ(static_cast<int>(EventType::kResize), 52);
  const std::pair<const char16_t*, int> names[] = {
      {u"all", 6},         {u"keydown", 8},      {u"keyup", 9},        {u"char", 10},
      {u"syskey", 11},     {u"mousemove", 14},   {u"mouseenter", 15},  {u"mouseleave", 16},
      {u"mousehover", 17}, {u"buttondown", 18},  {u"buttonup", 19},    {u"rbuttondown", 20},
      {u"doubleclick", 22}, {u"menu", 23},       {u"scrollwheel", 24}, {u"setfocus", 36},
      {u"killfocus", 37},  {u"windowclose", 39}, {u"setcursor", 40},   {u"select", 42},
      {u"unselect", 43},   {u"return", 45},      {u"tab", 46},         {u"scrollchange", 50},
      {u"valuechange", 51},
  };
  for (const auto& [name, number] : names) {
    EXPECT_EQ(static_cast<int>(EventTypeFromName(name)), number);
    EXPECT_EQ(EventTypeName(static_cast<EventType>(number)), name);
  }
  for (const char16_t* unknown : {u"click", u"Click", u"", u"textchange", u"buttondown "}) {
    EXPECT_EQ(EventTypeFromName(unknown), EventType::kNone);
  }
}

}  // namespace
}  // namespace ui
