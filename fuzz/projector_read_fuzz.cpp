// The Projector page's Read on the fake platform, with the receiver's three replies taken from
// the fuzz input: the bytes travel through the fake port and the link's receive step into
// byte_buf and reply_text, and the page parses them from there.
//
// Input: the length of the "WP_DisplaySet[" reply, the length of the "WP_DisplayOn[" reply,
// then those replies and the "WP_DisplayOff[" reply (the rest). An empty reply is no answer.

#include <memory>
#include <string>

#include "codec/hex_codec.h"
#include "fake/fake_app.h"
#include "fuzz_support.h"
#include "scripted_receiver.h"

namespace {

// The same window for the whole run: building it per input would cost more than the Read.
struct Fixture {
  Fixture() {
    app.start();
    rx = std::make_unique<qx::test_support::ScriptedReceiver>(app);
  }
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Fixture& f = fixture();
  qx::fake::FakeApp& app = f.app;
  // What earlier inputs sent is of no further use; keep memory flat over a long run.
  app.model.clearLines();
  app.port.written.clear();
  qx::fuzz::Input in(data, size);
  const std::size_t set_len = in.byte();
  const std::size_t on_len = in.byte();
  script(*f.rx, "WP_DisplaySet[", in.take(set_len));
  script(*f.rx, "WP_DisplayOn[", in.take(on_len));
  script(*f.rx, "WP_DisplayOff[", in.rest());

  app.button("cmd_proj_read").click();

  qx::Link& link = app.link();
  QX_FUZZ_CHECK(link.link_open && !link.await_reply);
  QX_FUZZ_CHECK(link.byte_len >= 0 && static_cast<std::size_t>(link.byte_len) <= qx::kByteBufSize);
  QX_FUZZ_CHECK(app.button("cmd_proj_read").enabled());
  checkBoxes(app, "on", app.state().disp_on_hex);
  checkBoxes(app, "off", app.state().disp_off_hex);
  return 0;
}
