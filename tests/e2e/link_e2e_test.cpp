#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include "e2e/e2e_support.h"

namespace qx::e2e {
namespace {

TEST(LinkE2E, ConnectsAndRunsWaitedAndUnwaitedTransactions) {
  ProgramDir dir;
  SimProcess sim(dir.path(), {"--silent-word", "WP_Display["});
  ASSERT_FALSE(sim.device().empty());
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  EXPECT_EQ(app.form->button("cmd_conn_0").backColor(), colors::kGreen);

  app.link().SendCommand("WP_Aspect[16:9]$\r");
  EXPECT_TRUE(app.link().reply_done);
  EXPECT_EQ(app.link().reply_text, "WP_Aspect[16:9]$\r");

  const std::string key = "WP_KeyMenu[]$\r";
  const auto received = app.port.received;
  app.link().SendCommandNoWait(key);
  ASSERT_TRUE(pumpUntil([&] { return sim.lines().size() == 2; }));
  EXPECT_EQ(sim.lines()[1], key);
  // Its echo is taken and dropped before the next transaction (else, late on a loaded machine,
  // it would frame that transaction's reply).
  ASSERT_TRUE(pumpUntil([&] { return app.port.received - received >= key.size(); }));
  EXPECT_TRUE(app.link().rx_text.empty());

  // A receiver that stays silent: the wait runs out.
  app.link().SendCommand("WP_Display[Off]$\r");
  EXPECT_FALSE(app.link().reply_done);
  EXPECT_TRUE(app.link().link_open);
}

TEST(LinkE2E, HangUpClosesTheLinkAndTheNextSendSaysSo) {
  ProgramDir dir;
  SimProcess sim(dir.path(), {"--hang-up-after", "1"});
  E2EApp app(dir.str());
  app.start();
  ASSERT_TRUE(app.link().link_open);
  app.link().SendCommand("WP_Aspect[Full]$\r");
  ASSERT_TRUE(pumpUntil([&] { return !app.link().link_open; }));
  EXPECT_EQ(app.form->button("cmd_conn_1").backColor(), colors::kRed);
  BoxAnswerer boxes;
  boxes.answer(QMessageBox::Ok);
  app.link().SendCommand("WP_Aspect[Full]$\r");
  EXPECT_FALSE(app.link().reply_done);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"RS232 is disconnected !"});
}

TEST(LinkE2E, MissingPortShowsThePortErrorAndTurnsDisconnectRed) {
  ProgramDir dir;
  SimProcess sim(dir.path());
  E2EApp app(dir.str());
  app.start();
  BoxAnswerer boxes;
  boxes.answer(QMessageBox::Ok);
  // COM2 has no link in the program directory and no /dev/ttyS1 behind it in a container.
  fs::create_symlink("/dev/qx-no-such-device", dir.path() / "COM2");
  auto* com = app.widget<QComboBox>("cbo_com");
  ASSERT_NE(com, nullptr);
  com->setCurrentIndex(1);
  emit com->activated(1);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"RS-232 port error on COM 2: !"});
  EXPECT_FALSE(app.link().link_open);
  EXPECT_EQ(app.form->button("cmd_conn_1").backColor(), colors::kRed);
}

TEST(LinkE2E, SecondOpenerOfTheSamePortIsRefused) {
  ProgramDir dir;
  SimProcess sim(dir.path());
  E2EApp first(dir.str());
  first.start();
  ASSERT_TRUE(first.link().link_open);
  BoxAnswerer boxes;
  boxes.answer(QMessageBox::Ok);
  E2EApp second(dir.str());
  second.start();
  EXPECT_FALSE(second.link().link_open);
  EXPECT_EQ(boxes.texts, std::vector<std::string>{"RS-232 port error on COM 1: !"});
}

}  // namespace
}  // namespace qx::e2e
