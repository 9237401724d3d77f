#include "link/link.h"

#include <iostream>

namespace qx {

namespace {

constexpr std::uint32_t kDrainBoundMs = 1000;
constexpr int kReplyRounds = 151;
constexpr std::uint32_t kLogClearAbove = 65530;
constexpr std::uint32_t kAutoClearAbove = 300;

Bytes toBytes(const std::string& line) { return Bytes(line.begin(), line.end()); }

}  // namespace

std::string PortErrorText(int port_number) {
  // The number carries one leading blank, or its minus sign in that place.
  std::string n = port_number < 0 ? std::to_string(port_number) : " " + std::to_string(port_number);
  return "RS-232 port error on COM" + n + ": !";
}

std::string PortErrorDetail(const PortOpenResult& r, int port_number, const std::string& link_dir) {
  const std::string device = r.device.empty() ? std::string("(none)") : r.device;
  const std::string com = "COM" + std::to_string(port_number);
  std::string d = "Device: " + device + "\n";
  switch (r.cause) {
    case PortOpenResult::Cause::Missing:
      d += "Cause: the device does not exist.\n"
           "What to do: plug in the serial adapter and link " +
           com +
           " to it, for example\n"
           "  ln -sf /dev/ttyUSB0 " +
           link_dir + "/" + com +
           "\n"
           "A name from /dev/serial/by-id/ in place of /dev/ttyUSB0 stays right when the "
           "adapter is plugged into another socket.";
      break;
    case PortOpenResult::Cause::PermissionDenied:
      d += "Cause: permission denied: your user may not open " + device + ".\n" +
           "What to do: add your user to the dialout group\n"
           "  sudo usermod -aG dialout $USER\n"
           "then log out and log in again.";
      break;
    case PortOpenResult::Cause::Busy:
      d += "Cause: the port is busy: another program holds " + device + " open.\n" +
           "What to do: close that program (or the other window of this tool) and connect "
           "again.";
      break;
    case PortOpenResult::Cause::Other:
    case PortOpenResult::Cause::None:
      d += "Cause: the port could not be opened.";
      break;
  }
  if (!r.detail.empty()) d += "\nSystem message: " + r.detail;
  return d;
}

Link::Link(Form& form, Services& services)
    : form_(form), sv_(services), tim_rx_(form.timer("tim_rx")), tim_fail_(form.timer("tim_fail")) {
  form.combo("cbo_com").onSelect([this] {
    com_port = static_cast<std::int16_t>(form_.combo("cbo_com").selectedIndex() + 1);
    set_comm();
  });
  form.button("cmd_conn_0").onClick([this] { set_comm(); });
  form.button("cmd_conn_1").onClick([this] { Disconnect(); });
  form.button("cmd_clear").onClick([this] {
    form_.text("txt_rx").setText({});
    rx_text.clear();
    rx_count = 0;
  });
  form.check("chk_auto").onClick([this] {
    auto_clear = static_cast<std::int16_t>(form_.check("chk_auto").value());
  });
  tim_rx_.onTick([this] { ReceiveStep(); });
  tim_fail_.onTick([this] { failTick(); });
  sv_.port.onLost([this] {
    // The port went away under us: close the link the way Disconnect does.
    if (!link_open) return;
    setIndicator(colors::kLightGrey, colors::kRed);
    link_open = false;
  });
}

void Link::setIndicator(Rgb connect, Rgb disconnect) {
  form_.button("cmd_conn_0").setBackColor(connect);
  form_.button("cmd_conn_1").setBackColor(disconnect);
}

void Link::set_comm() {
  if (link_open) sv_.port.close();
  PortOpenResult r = sv_.port.open(com_port, kLineSettings);
  if (!r.ok) {
    const std::string detail = PortErrorDetail(r, com_port, sv_.files.stateDir());
    std::cerr << PortErrorText(com_port) << "\n" << detail << "\n";
    sv_.msgbox.show(PortErrorText(com_port), MsgButtons::Ok, MsgIcon::None, detail);
    setIndicator(colors::kLightGrey, colors::kRed);
    link_open = false;
    tim_rx_.stop();
    sv_.pump.doEvents();
    return;
  }
  link_open = true;
  rx_count = 0;
  rx_text.clear();
  tim_rx_.start();
  setIndicator(colors::kGreen, colors::kLightGrey);
  sv_.pump.doEvents();
}

void Link::Disconnect() {
  if (!link_open) return;
  setIndicator(colors::kLightGrey, colors::kRed);
  sv_.port.close();
  link_open = false;
}

void Link::ClosePort() { sv_.port.close(); }

void Link::showLinkClosed() { sv_.msgbox.show(kDisconnectedText, MsgButtons::Ok, MsgIcon::Error); }

// A send asked for while a waited transaction waits for its reply is refused: the outer
// transaction's bytes and reply stay undisturbed.
bool Link::refuseNested() { return await_reply; }

void Link::SendCommand(const std::string& line) {
  reply_done = false;
  if (!link_open) {
    showLinkClosed();
    return;
  }
  if (refuseNested()) return;
  transact(toBytes(line));
}

void Link::SendBytes() {
  reply_done = false;
  if (!link_open) {
    showLinkClosed();
    return;
  }
  if (refuseNested()) return;
  std::size_t n = byte_len > 0 ? static_cast<std::size_t>(byte_len) : 0;
  transact(Bytes(byte_buf.begin(), byte_buf.begin() + static_cast<std::ptrdiff_t>(n)));
}

void Link::transact(const Bytes& data) {
  rx_count = 0;
  rx_text.clear();
  term_state.clear();
  await_reply = true;
  reply_done = false;
  reply_seen_ = false;
  // Bounded drain: a port that cannot send ends the transaction like one without a reply.
  if (!sv_.port.drain(kDrainBoundMs)) {
    await_reply = false;
    return;
  }
  sv_.port.discardInput();
  byte_len = 0;
  sv_.port.output(data);
  tim_rx_.start();
  for (int i = 0; i < kReplyRounds && !reply_seen_; ++i) Delay(0.001f);
  await_reply = false;
  reply_done = reply_seen_;
}

void Link::SendCommandNoWait(const std::string& line) {
  if (!link_open) {
    showLinkClosed();
    return;
  }
  if (refuseNested()) return;
  await_reply = false;
  if (!sv_.port.drain(kDrainBoundMs)) return;
  sv_.port.output(toBytes(line));
  tim_rx_.start();
}

void Link::Delay(float s) {
  delay_active = true;
  const std::uint32_t start = sv_.clock.nowMs();
  // The first whole millisecond count that is strictly more than s.
  std::uint32_t target = s > 0 ? static_cast<std::uint32_t>(static_cast<double>(s) * 1000.0) : 0;
  while (!(static_cast<float>(target / 1000.0) > s)) ++target;
  for (;;) {
    const std::uint32_t elapsed = sv_.clock.nowMs() - start;  // modulo 2^32
    if (static_cast<float>(elapsed / 1000.0) > s) break;
    sv_.pump.waitFor(target - elapsed);
  }
  delay_active = false;
}

void Link::ReceiveStep() {
  if (sv_.port.inBufferCount() == 0) return;
  tim_rx_.stop();
  sv_.pump.doEvents();
  const Bytes batch = sv_.port.input();
  TextBox& log = form_.text("txt_rx");
  if (auto_clear == 1 && rx_count > kAutoClearAbove) {
    log.setText({});
    rx_count = 0;
  }
  bool completed = false;
  for (std::uint8_t b : batch) {
    rx_text.push_back(static_cast<char>(b));
    ++rx_count;
    // The store keeps the first 75 bytes; later ones are counted in rx_text only.
    if (byte_len >= 0 && static_cast<std::size_t>(byte_len) < kByteBufSize)
      byte_buf[static_cast<std::size_t>(byte_len++)] = b;
    if (await_reply) {
      if (term_state == "]$\r") {
        // complete: stays complete until the next waited transaction
      } else if (term_state.empty()) {
        if (b == ']') term_state = "]";
      } else if (term_state == "]") {
        term_state = b == '$' ? "]$" : "";
      } else if (term_state == "]$") {
        term_state = b == '\r' ? "]$\r" : "";
      }
      if (term_state == "]$\r") completed = true;
    } else {
      rx_text.clear();
      byte_len = 0;
    }
    if (rx_count > kLogClearAbove) {
      rx_count = 0;
      log.setText({});
    }
  }
  if (completed && await_reply) {
    reply_text = rx_text;
    reply_seen_ = true;
    reply_done = true;
  }
  tim_rx_.start();
  sv_.pump.doEvents();
}

void Link::ShowNotice(Label& label, const std::string& text) {
  label.setText(text);
  label.setVisible(true);
  // Each notice gets its full second.
  tim_fail_.stop();
  tim_fail_.start();
}

void Link::failTick() {
  form_.label("lab_proj_reply").setVisible(false);
  form_.label("lab_ctrl_reply").setVisible(false);
  form_.label("lab_pic_reply").setVisible(false);
  tim_fail_.stop();
  sv_.pump.doEvents();
}

}  // namespace qx
