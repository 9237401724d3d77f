// The link's receive step fed random batches on the fake platform, inside and outside waited
// transactions: the terminator state, the byte buffer, reply_done / reply_text and the log
// pane's counting rules are checked after every batch against the rules they follow.
//
// Input: two bytes of starting rx_count, then steps of [control byte, batch length, batch].
// Control bits: 1 starts a waited transaction (as SendCommand does before sending), 2 ends it,
// 4 sets auto_clear to bit 3.

#include <algorithm>
#include <string>

#include "fake/fake_app.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint32_t kLogClearAbove = 65530;
constexpr std::uint32_t kAutoClearAbove = 300;

// The same window for the whole run: building it per input would cost more than the steps.
// Each input starts from a reset link state.
qx::fake::FakeApp& app() {
  static qx::fake::FakeApp a;
  static const bool started = [] {
    a.start();
    a.model.faults().silent = true;
    return true;
  }();
  (void)started;
  return a;
}

// What the link should hold, by the rules of the receive step.
struct Expected {
  std::uint32_t rx_count = 0;
  std::string rx_text;  // since the transaction started
  std::string term_state;
  bool reply_done = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  qx::fake::FakeApp& a = app();
  qx::Link& link = a.link();
  QX_FUZZ_CHECK(link.link_open);
  qx::fuzz::Input in(data, size);

  Expected e;
  e.rx_count = std::min<std::uint32_t>(in.u16(), kLogClearAbove);
  link.rx_count = e.rx_count;
  link.rx_text.clear();
  link.reply_text.clear();
  link.term_state.clear();
  link.byte_len = 0;
  link.await_reply = false;
  link.reply_done = false;
  link.auto_clear = 0;

  while (!in.empty()) {
    const std::uint8_t control = in.byte();
    if (control & 1) {
      // A waited transaction starts: the state SendCommand sets before sending.
      link.rx_count = e.rx_count = 0;
      link.rx_text.clear();
      link.term_state.clear();
      link.await_reply = true;
      link.reply_done = false;
      link.byte_len = 0;
      e.rx_text.clear();
      e.term_state.clear();
      e.reply_done = false;
    }
    if (control & 2) link.await_reply = false;
    if (control & 4) link.auto_clear = (control & 8) ? 1 : 0;
    const std::string batch = in.take(in.byte());
    const bool reply_done_before = link.reply_done;

    // The log holds a mark that only the counting rules take away.
    auto& log = a.text("txt_rx");
    log.setText("mark");
    bool cleared = false;
    if (!batch.empty()) {
      if (link.auto_clear == 1 && e.rx_count > kAutoClearAbove) {
        e.rx_count = 0;
        cleared = true;
      }
      for (char b : batch) {
        if (++e.rx_count > kLogClearAbove) {
          e.rx_count = 0;
          cleared = true;
        }
        if (link.await_reply) {
          e.rx_text.push_back(b);
          qx::fuzz::FeedTerminator(e.term_state, b);
        }
      }
    }

    a.port.inject(qx::Bytes(batch.begin(), batch.end()));
    a.sched.doEvents();
    link.ReceiveStep();

    QX_FUZZ_CHECK(link.term_state.empty() || link.term_state == "]" || link.term_state == "]$" ||
                  link.term_state == "]$\r");
    QX_FUZZ_CHECK(link.byte_len >= 0 &&
                  static_cast<std::size_t>(link.byte_len) <= qx::kByteBufSize);
    QX_FUZZ_CHECK(link.rx_count == e.rx_count && link.rx_count <= kLogClearAbove);
    QX_FUZZ_CHECK((log.text() == "mark") == !cleared);
    if (link.await_reply) {
      QX_FUZZ_CHECK(link.rx_text == e.rx_text);
      QX_FUZZ_CHECK(link.term_state == e.term_state);
      // The buffer holds the transaction's first 75 bytes.
      const std::size_t kept = std::min(e.rx_text.size(), qx::kByteBufSize);
      QX_FUZZ_CHECK(static_cast<std::size_t>(link.byte_len) == kept);
      for (std::size_t i = 0; i < kept; ++i)
        QX_FUZZ_CHECK(link.byte_buf[i] == static_cast<std::uint8_t>(e.rx_text[i]));
      const bool complete = e.term_state == "]$\r";
      QX_FUZZ_CHECK(link.reply_done == (complete || reply_done_before));
      if (complete && !batch.empty()) QX_FUZZ_CHECK(link.reply_text == link.rx_text);
    } else {
      // Outside a waited transaction bytes are counted, nothing else.
      QX_FUZZ_CHECK(link.reply_done == reply_done_before);
      if (!batch.empty()) QX_FUZZ_CHECK(link.rx_text.empty() && link.byte_len == 0);
    }
  }
  return 0;
}
