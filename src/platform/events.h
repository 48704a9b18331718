// The events that the main routine's loop waits for, and the queue that
// holds them until the loop takes them, one at a time.
#pragma once

#include <deque>

#include "base/text.h"

namespace vt {

enum class EventKind {
  None,       // nothing of interest to the loop
  Close,      // the main window's close box
  Terminate,  // the platform asks the program to end
  Drop,       // a file was dropped on the main window; `text` is its path
  Menu,       // a menu item was chosen; `tag` is its menu tag
  Block,      // the header panel's block was chosen; `tag` is its index, from 0
  Copy,       // a Copy button of the header panel; `tag` is its box's index, from 0
};

struct Event {
  EventKind kind = EventKind::None;
  int tag = 0;
  Text text;
};

inline Event CloseEvent() { return {EventKind::Close, 0, Text()}; }
inline Event TerminateEvent() { return {EventKind::Terminate, 0, Text()}; }
inline Event DropEvent(TextView path) { return {EventKind::Drop, 0, Text(path)}; }
inline Event MenuEvent(int tag) { return {EventKind::Menu, tag, Text()}; }
inline Event BlockEvent(int index) { return {EventKind::Block, index, Text()}; }
inline Event CopyEvent(int index) { return {EventKind::Copy, index, Text()}; }

// First in, first out. The window system posts to it from its callbacks,
// which never run a handler themselves: that way nothing runs inside a
// handler that is still going.
class EventQueue {
 public:
  void Post(Event event) { events_.push_back(std::move(event)); }
  bool Empty() const { return events_.empty(); }
  size_t Size() const { return events_.size(); }
  // The oldest event; the queue must not be empty.
  Event Take() {
    Event event = std::move(events_.front());
    events_.pop_front();
    return event;
  }

 private:
  std::deque<Event> events_;
};

}  // namespace vt
