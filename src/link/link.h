#pragma once
// The serial link to the receiver: the PC port, the three send procedures, the event-pumping
// Delay, the receive poll, the failure-notice timer and the log pane rules. One instance per
// window; pages call the send procedures and read reply_done / reply_text afterwards.

#include <array>
#include <cstdint>
#include <string>

#include "platform/form.h"
#include "platform/services.h"

namespace qx {

inline constexpr std::size_t kByteBufSize = 75;
inline constexpr const char* kLineSettings = "115200,N,8,1";
inline constexpr const char* kDisconnectedText = "RS232 is disconnected !";

class Link {
 public:
  // Wires the handlers of cbo_com, cmd_conn, tim_rx, tim_fail, cmd_clear and chk_auto.
  Link(Form& form, Services& services);
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  // Closes the port if open and opens com_port at 115200,N,8,1; on failure shows the port
  // error message and leaves the link closed.
  void set_comm();
  // Closes an open link (the Disconnect button); does nothing while closed.
  void Disconnect();
  // Sends a whole command line and waits for the framed reply; see reply_done.
  void SendCommand(const std::string& line);
  // Sends byte_buf[0 .. byte_len-1] and waits for the framed reply.
  void SendBytes();
  // Sends a whole command line and returns at once; any answer is dropped.
  void SendCommandNoWait(const std::string& line);
  // Waits until the millisecond clock shows strictly more than s seconds elapsed, pumping
  // window events meanwhile (and sleeping between them).
  void Delay(float s);
  // Shows a failure notice in one of the pages' red labels; tim_fail hides it 1000 ms later.
  void ShowNotice(Label& label, const std::string& text);
  // Closes the port at shut-down, whatever the link state; never fails visibly.
  void ClosePort();

  // The receive step (tim_rx tick), public for the benchmarks and fuzzers.
  void ReceiveStep();

  // Link state.
  bool link_open = false;
  std::int16_t com_port = 1;
  bool delay_active = false;
  bool await_reply = false;
  bool reply_done = false;
  std::string rx_text;
  std::string reply_text;
  std::string term_state;
  std::uint32_t rx_count = 0;
  std::array<std::uint8_t, kByteBufSize> byte_buf{};
  std::int16_t byte_len = 0;
  std::int16_t auto_clear = 0;

 private:
  void transact(const Bytes& data);
  bool refuseNested();
  void showLinkClosed();
  void setIndicator(Rgb connect, Rgb disconnect);
  void failTick();

  Form& form_;
  Services& sv_;
  Timer& tim_rx_;
  Timer& tim_fail_;
  bool reply_seen_ = false;  // terminator completed in the transaction now waiting
};

// Text of the port error message box for port n: "RS-232 port error on COM 3: !".
std::string PortErrorText(int port_number);
// Details for the same box (and standard error): the device tried, the cause and what to do
// about it. link_dir is where a COMn link to an adapter belongs (FileSystem::stateDir).
std::string PortErrorDetail(const PortOpenResult& r, int port_number, const std::string& link_dir);

}  // namespace qx
