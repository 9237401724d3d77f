// The read parsers of the Projector page on any reply: "WP_DisplaySet[" (port settings) and
// "WP_DisplayOn[" / "WP_DisplayOff[" (display commands taken by their count from the raw reply
// bytes in byte_buf), followed by what the page does with the bytes read.

#include <algorithm>
#include <memory>
#include <string>

#include "codec/hex_codec.h"
#include "fuzz_support.h"
#include "projector/display_commands.h"
#include "projector/port_settings.h"
#include "receiver/vocabulary.h"

namespace {

// The reply as the link holds it after a waited transaction: reply_text has every byte, the
// byte buffer the first 75.
struct Received {
  std::string reply_text;
  std::unique_ptr<qx::CodecBuf> byte_buf = std::make_unique<qx::CodecBuf>();
  std::size_t byte_len = 0;
};

Received receive(const std::string& reply) {
  Received r;
  r.reply_text = reply;
  r.byte_len = std::min(reply.size(), qx::kCodecBufSize);
  std::copy(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(r.byte_len),
            r.byte_buf->begin());
  return r;
}

void checkPortReply(const std::string& reply) {
  const auto arg = qx::QueryReplyValue(qx::kDisplaySetWord, reply);
  if (!arg) return;
  const auto r = qx::ParsePortArgument(*arg);
  if (arg->find(',') == std::string::npos) QX_FUZZ_CHECK(!r);
  if (!r) return;
  QX_FUZZ_CHECK(r->databits >= 0 && r->databits <= 9);
  if (r->parity) {
    const std::string& p = *r->parity;
    QX_FUZZ_CHECK(p == "NONE" || p == "ODD" || p == "EVEN" || p == "MARK" || p == "SPACE");
  }
  if (r->stopbits)
    QX_FUZZ_CHECK(*r->stopbits == 1.0f || *r->stopbits == 1.5f || *r->stopbits == 2.0f);
  // What Send would give back for the values read.
  const std::string line = qx::PortSettingsLine(r->baud, r->databits, r->parity.value_or("NONE"),
                                                r->stopbits.value_or(1.5f));
  const auto again = qx::ParsePortArgument(*qx::QueryReplyValue(qx::kDisplaySetWord, line));
  QX_FUZZ_CHECK(again && again->baud == r->baud);
}

void checkDisplayReply(int which, const std::string& reply) {
  const std::string word = which == qx::kDisplayOn ? qx::kDisplayOnWord : qx::kDisplayOffWord;
  Received rx = receive(reply);
  const auto span = qx::LocateDisplayBytes(word, rx.reply_text, rx.byte_len);
  if (!span) return;
  QX_FUZZ_CHECK(reply.starts_with(word));
  QX_FUZZ_CHECK(span->start > word.size() && reply[span->start - 1] == ',');
  QX_FUZZ_CHECK(reply.find(',', word.size()) == span->start - 1);
  QX_FUZZ_CHECK(span->count == 0 || span->start + span->count <= rx.byte_len);

  // What the page does with them: the bytes to the front of the buffer, shown as hex and text,
  // the control bytes into the command's store.
  qx::CodecBuf& buf = *rx.byte_buf;
  if (span->count > 0)
    std::copy(buf.begin() + static_cast<std::ptrdiff_t>(span->start),
              buf.begin() + static_cast<std::ptrdiff_t>(span->start + span->count), buf.begin());
  auto len = static_cast<std::int16_t>(span->count);
  std::string hex = qx::BytesToHex(buf, len);
  QX_FUZZ_CHECK(hex.size() == 3 * span->count);
  QX_FUZZ_CHECK(hex ==
                qx::BytesToHex(*receive(reply.substr(span->start, span->count)).byte_buf, len));
  std::string shown_hex = hex;
  const std::string text = qx::HexToText(shown_hex);
  QX_FUZZ_CHECK(text.size() == span->count && shown_hex == hex);
  qx::CtrlStores stores;
  if (which == qx::kDisplayOn)
    qx::ExtractOnCtrl(hex, stores, buf, len);
  else
    qx::ExtractOffCtrl(hex, stores, buf, len);
  QX_FUZZ_CHECK(static_cast<std::size_t>(len) == span->count);
  // Sent back from the text form, the command gives the same bytes.
  if (span->count > 0) QX_FUZZ_CHECK(qx::TextToHex(text, which, stores) == hex);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The input as the whole reply, and as the value after each word.
  for (const std::string& reply : {input, qx::kDisplaySetWord + input, qx::kDisplayOnWord + input,
                                   qx::kDisplayOffWord + input}) {
    checkPortReply(reply);
    checkDisplayReply(qx::kDisplayOn, reply);
    checkDisplayReply(qx::kDisplayOff, reply);
  }
  return 0;
}
