// Pictures on scaled screens: the drawing at twice the size is taken where there is one.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/qt/qt_controls.h"

namespace qx {
namespace {

TEST(PicturesTest, ScaledScreensGetTheDrawingAtTwiceTheSize) {
  const QString data = QStringLiteral(QX_DATA_DIR);
  const QPixmap plain = loadPictureForRatio(data + "/key_menu.png", 1.0);
  ASSERT_FALSE(plain.isNull());
  EXPECT_EQ(plain.size(), QSize(90, 40));

  const QPixmap sharp = loadPictureForRatio(data + "/key_menu.png", 2.0);
  EXPECT_EQ(sharp.size(), QSize(180, 80));
  EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
  EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(90, 40)) << "laid out at the same size";

  // Every picture of the window has its drawing at twice the size.
  for (const char* name :
       {"logo.png", "key_minus.png", "key_plus.png", "cr.png", "ball_red.gif", "ball_gray.bmp"}) {
    const QPixmap p = loadPictureForRatio(data + "/" + name, 1.5);
    EXPECT_EQ(p.devicePixelRatio(), 2.0) << name;
  }

  // A picture without one, or with one of the wrong size, is shown as it is.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(plain.save(dir.filePath("a.png")));
  ASSERT_TRUE(plain.save(dir.filePath("b.png")));
  ASSERT_TRUE(plain.save(dir.filePath("b@2x.png")));
  for (const char* name : {"a.png", "b.png"}) {
    const QPixmap p = loadPictureForRatio(dir.filePath(name), 2.0);
    EXPECT_EQ(p.size(), QSize(90, 40)) << name;
    EXPECT_EQ(p.devicePixelRatio(), 1.0) << name;
  }
  EXPECT_TRUE(loadPictureForRatio(dir.filePath("none.png"), 2.0).isNull());
}

}  // namespace
}  // namespace qx
