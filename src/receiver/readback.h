#pragma once
// Receiver Read and Get, ApplyReadback shared with the projector controls' Read, and the two
// helpers every read-back loop uses.

#include <string>

#include "link/page_context.h"

namespace qx {

// Raises `reading` for one read-back loop and lowers it again on every path. Only one loop
// runs at a time: a loop started while another runs (from a handler pumped inside the other's
// waits) must not start, because lowering `reading` at its end would let the outer loop's
// selections be sent back to the receiver. Check started() first:
//
//   ReadingScope scope(ctx.state);
//   if (!scope.started()) return;
class ReadingScope {
 public:
  explicit ReadingScope(WindowState& state) : state_(state), started_(!state.reading) {
    if (started_) state_.reading = true;
  }
  ~ReadingScope() {
    if (started_) state_.reading = false;
  }
  ReadingScope(const ReadingScope&) = delete;
  ReadingScope& operator=(const ReadingScope&) = delete;
  bool started() const { return started_; }

 private:
  WindowState& state_;
  bool started_;
};

// One query of a read-back loop: sends word + "?]$" + CR with SendCommand, pauses pause_s with
// Delay whatever the outcome, and tells whether the reply came and begins with word. On
// success link.reply_text holds the reply's value (the reply cut as a query reply is). The
// outcome is taken right after the transaction, so a handler that transacts during the pause
// cannot change it.
bool QueryStep(Link& link, const std::string& word, float pause_s);

class ReadBack {
 public:
  // Wires cmd_ctrl_read (Read) and cmd_info (Get).
  explicit ReadBack(PageContext& ctx);

  // cmd_ctrl_read: queries words 1..20 without 3 and 12 and sets the page from the replies;
  // stops at the first failure with "Read fail !".
  void Read();
  // cmd_info: both firmware versions and the TX baud rate.
  void Get();
  // Sets one control from the value in link.reply_text by word number n (1..23); other
  // numbers do nothing. Callers hold `reading` raised around it.
  void ApplyReadback(int n);

 private:
  PageContext& ctx_;
};

}  // namespace qx
