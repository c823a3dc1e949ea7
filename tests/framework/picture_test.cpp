// Picture::_OpenFromApp against pictures of the test's own, registered as resources under
// ":/app/" for the length of each case: exact names, content-sniffed formats, names that would
// leave that folder, and the "@2x" choice on a high-resolution screen (in a child process started
// with QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "framework/Picture.h"
#include "framework/internal/PictureImpl.h"
#include "support/GuiTestSupport.h"

namespace {

// The colours of the test pictures (tests/resources/layer_pictures): a plain rendering and its
// double-size twin.
const QColor kPlain(200, 0, 0);
const QColor kDouble(0, 0, 200);

// Under ":/app/": Logo.png 30 x 20 with Logo@2x.png; Mark 10 x 12, PNG data without an
// extension, with Mark@2x; Alone.png 7 x 9 with no double-size twin; Half.png 5 x 5 whose
// Half@2x.png is not an image; Garbage.png (text) and Empty.png (no bytes); sub/Inside.png.
// Outside the folder: ":/Outside.png".
class Picture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pictures_.registered()) << MOBRIGAN_LAYER_PICTURES; }

 private:
  testsupport::ResourceFile pictures_{QStringLiteral(MOBRIGAN_LAYER_PICTURES)};
};

QColor ColourOf(const gui::Picture& picture) { return picture.impl().pixmap().toImage().pixelColor(0, 0); }

TEST_F(Picture, ReadsTheFileNamedExactlyAndNoOther) {
  auto picture = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 30);
  EXPECT_EQ(picture->Height(), 20);
  EXPECT_EQ(ColourOf(*picture), kPlain);

  // No letter case changed, no extension added or dropped.
  for (const char* other : {"logo.png", "LOGO.PNG", "Logo", "Logo.png.png", "Logo.PNG"}) {
    EXPECT_EQ(gui::Picture::_OpenFromApp(other), nullptr) << other;
  }
}

TEST_F(Picture, PngDataWithoutAnExtensionIsFoundByItsBareName) {
  auto picture = gui::Picture::_OpenFromApp("Mark");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 10);
  EXPECT_EQ(picture->Height(), 12);
  EXPECT_EQ(gui::Picture::_OpenFromApp("Mark.png"), nullptr);
}

// Every call reads anew: keeping a picture is the caller's business.
TEST_F(Picture, MissingOrUndecodableFilesGiveNothingAndEveryCallReadsAnew) {
  for (const char* name : {"Missing.png", "Garbage.png", "Empty.png"}) {
    EXPECT_EQ(gui::Picture::_OpenFromApp(name), nullptr) << name;
  }

  auto first = gui::Picture::_OpenFromApp("Logo.png");
  auto second = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
}

// A name is a file name in the application's folder ":/app/". Resource paths are cleaned like
// file paths, so each of these, joined to the folder, would reach a picture outside it or below
// it (or nothing sensible), and must be refused.
TEST_F(Picture, NamesThatWouldLeaveTheFolderAreRefused) {
  ASSERT_TRUE(QFile::exists(":/app/../Outside.png"));
  ASSERT_TRUE(QFile::exists(":/app/sub/Inside.png"));

  for (const std::string& name :
       {std::string("../Outside.png"), std::string("Outside.png"), std::string("sub/Inside.png"),
        std::string("sub\\Inside.png"), std::string("./sub/Inside.png"), std::string(":/app/sub/Inside.png"),
        std::string("Logo.png\0", 9), std::string(".."), std::string("")}) {
    EXPECT_EQ(gui::Picture::_OpenFromApp(name), nullptr) << name;
  }
}

TEST_F(Picture, OffTheUiThreadTheReadIsRefused) {
  std::exception_ptr error;
  std::thread worker([&] {
    try {
      gui::Picture::_OpenFromApp("Logo.png");
    } catch (...) {
      error = std::current_exception();
    }
  });
  worker.join();
  ASSERT_TRUE(error);
  EXPECT_THROW(std::rethrow_exception(error), gui::ThreadAccessingUIException);
}

TEST_F(Picture, OnAScreenOfOnePixelPerPointThePlainRenderingIsUsed) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() > 1.0)
    GTEST_SKIP() << "this screen has more than one device pixel a point";
  auto picture = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(ColourOf(*picture), kPlain);
  EXPECT_EQ(picture->impl().pixmap().devicePixelRatio(), 1.0);
  EXPECT_EQ(picture->Width(), 30);
}

constexpr const char* kHighResolutionChild = "MOBRIGAN_PICTURE_TEST_HIGH_RESOLUTION";

// Runs PictureHighResolution.* in a fresh process whose screen has two device pixels a point:
// the scale factor must be set before the QApplication exists.
TEST_F(Picture, OnAHighResolutionScreenTheDoubleSizeRenderingIsUsed) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_SCALE_FACTOR", "2");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert(kHighResolutionChild, "1");
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=PictureHighResolution.*"});
  ASSERT_TRUE(child.waitForFinished(60000));
  const QString output = QString::fromLocal8Bit(child.readAll());
  EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
}

class PictureHighResolution : public Picture {};

TEST_F(PictureHighResolution, ChoosesTheDoubleSizeRenderingWherePresent) {
  if (!std::getenv(kHighResolutionChild)) GTEST_SKIP() << "runs in the child process of the test above";
  ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);

  struct Case {
    const char* name;
    int width, height;  // in points
    QColor colour;
    double ratio;
  };
  const Case cases[] = {
      {"Logo.png", 30, 20, kDouble, 2.0},  // "@2x" before the extension
      {"Mark", 10, 12, kDouble, 2.0},      // appended where there is none
      {"Alone.png", 7, 9, kPlain, 1.0},    // no double-size rendering: the plain one
      {"Half.png", 5, 5, kPlain, 1.0},     // one that does not decode: the plain one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = gui::Picture::_OpenFromApp(c.name);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), c.width);
    EXPECT_EQ(picture->Height(), c.height);
    EXPECT_EQ(ColourOf(*picture), c.colour);
    EXPECT_EQ(picture->impl().pixmap().devicePixelRatio(), c.ratio);
  }
}

}  // namespace
