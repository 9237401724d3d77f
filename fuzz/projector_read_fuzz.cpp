// The Projector page's Read on the fake platform, with the receiver's three replies taken from
// the fuzz input: the bytes travel through the fake port and the link's receive step into
// byte_buf and reply_text, and the page parses them from there.
//
// Input: the length of the "WP_DisplaySet[" reply, the length of the "WP_DisplayOn[" reply,
// then those replies and the "WP_DisplayOff[" reply (the rest). An empty reply is no answer.

#include <algorithm>
#include <memory>
#include <string>

#include "codec/hex_codec.h"
#include "fake/fake_app.h"
#include "fuzz_support.h"
#include "projector/display_commands.h"
#include "projector/port_settings.h"
#include "receiver/vocabulary.h"
#include "scripted_receiver.h"

namespace {

// The same window for the whole run: building it per input would cost more than the Read.
struct Fixture {
  Fixture() { app.start(); }
  qx::fake::FakeApp app;
  std::unique_ptr<qx::test_support::ScriptedReceiver> rx;
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void script(qx::test_support::ScriptedReceiver& rx, const char* word, const std::string& reply) {
  if (reply.empty())
    rx.silence(word);
  else
    rx.answer(word, reply);
}

// The two boxes of a command agree: normalised hex that fits the buffer, and its display text.
void checkBoxes(qx::fake::FakeApp& app, const char* which, const std::string& state_hex) {
  const std::string hex = app.text(std::string("txt_proj_disp_") + which + "_hex").text();
  const std::string text = app.text(std::string("txt_proj_disp_") + which + "_text").text();
  std::string h = hex;
  QX_FUZZ_CHECK(qx::NormalizeHex(h) == hex);
  QX_FUZZ_CHECK(hex.size() / 3 <= qx::kCodecBufSize);
  QX_FUZZ_CHECK(qx::HexToText(h) == text);
  QX_FUZZ_CHECK(state_hex == hex);
}

// What the page should show after Read, worked out from the replies with the pure parsers.
struct Expected {
  std::int32_t baud;
  std::int16_t databits;
  std::string parity;
  float stopbits;
  std::string on_hex;
  std::string off_hex;
};

// A display command read from its reply, or keep when the read fails: the reply arrives in one
// batch, so reply_text is all of it and byte_buf its first 75 bytes.
std::string readCommand(const char* word, const std::string& reply, const std::string& keep) {
  if (!qx::fuzz::CompletesReply(reply)) return keep;
  const auto span = qx::LocateDisplayBytes(word, reply, std::min(reply.size(), qx::kByteBufSize));
  if (!span) return keep;
  qx::CodecBuf bytes{};
  std::copy_n(reply.begin() + static_cast<std::ptrdiff_t>(span->start), span->count, bytes.begin());
  return qx::BytesToHex(bytes, static_cast<std::int16_t>(span->count));
}

Expected expect(const qx::WindowState& s, const std::string& set_reply, const std::string& on_reply,
                const std::string& off_reply) {
  Expected e{s.proj_baud,     s.proj_databits, s.proj_parity,
             s.proj_stopbits, s.disp_on_hex,   s.disp_off_hex};
  // The display commands are read only when the port settings query was answered, usable or
  // not.
  if (!qx::fuzz::CompletesReply(set_reply)) return e;
  if (const auto arg = qx::QueryReplyValue(qx::kDisplaySetWord, set_reply)) {
    if (const auto r = qx::ParsePortArgument(*arg)) {
      e.baud = r->baud;
      e.databits = r->databits;
      if (r->parity) e.parity = *r->parity;
      if (r->stopbits) e.stopbits = *r->stopbits;
    }
  }
  e.on_hex = readCommand(qx::kDisplayOnWord, on_reply, e.on_hex);
  e.off_hex = readCommand(qx::kDisplayOffWord, off_reply, e.off_hex);
  return e;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Fixture& f = fixture();
  qx::fake::FakeApp& app = f.app;
  // What earlier inputs sent is of no further use; keep memory flat over a long run. The
  // scripted receiver counts the lines it has answered, so it starts afresh too.
  f.rx.reset();
  app.model.clearLines();
  app.port.written.clear();
  f.rx = std::make_unique<qx::test_support::ScriptedReceiver>(app);
  qx::fuzz::Input in(data, size);
  const std::size_t set_len = in.byte();
  const std::size_t on_len = in.byte();
  const std::string set_reply = in.take(set_len);
  const std::string on_reply = in.take(on_len);
  const std::string off_reply = in.rest();
  script(*f.rx, qx::kDisplaySetWord, set_reply);
  script(*f.rx, qx::kDisplayOnWord, on_reply);
  script(*f.rx, qx::kDisplayOffWord, off_reply);
  const Expected e = expect(app.state(), set_reply, on_reply, off_reply);

  app.button("cmd_proj_read").click();

  qx::Link& link = app.link();
  const qx::WindowState& s = app.state();
  QX_FUZZ_CHECK(link.link_open && !link.await_reply);
  QX_FUZZ_CHECK(link.byte_len >= 0 && static_cast<std::size_t>(link.byte_len) <= qx::kByteBufSize);
  QX_FUZZ_CHECK(app.button("cmd_proj_read").enabled());
  QX_FUZZ_CHECK(s.proj_baud == e.baud && s.proj_databits == e.databits &&
                s.proj_parity == e.parity && s.proj_stopbits == e.stopbits);
  QX_FUZZ_CHECK(s.disp_on_hex == e.on_hex && s.disp_off_hex == e.off_hex);
  checkBoxes(app, "on", s.disp_on_hex);
  checkBoxes(app, "off", s.disp_off_hex);
  return 0;
}
