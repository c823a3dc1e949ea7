// Picture::_OpenFromApp against a resource root on disk: exact names, content-sniffed formats,
// names that would leave the root, the read count, and the "@2x" choice on a high-resolution
// screen (in a child process started with QT_SCALE_FACTOR=2).
#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "framework/Picture.h"
#include "framework/Testing.h"
#include "framework/internal/PictureImpl.h"

namespace {

const QColor kPlain(200, 0, 0);
const QColor kDouble(0, 0, 200);

// A folder that _OpenFromApp reads from while the object lives.
class DiskRoot {
 public:
  DiskRoot() : root_(dir_.path() + "/root/") {
    QDir().mkpath(root_);
    gui::testing::SetResourceRoot(root_.toStdString());
  }
  ~DiskRoot() { gui::testing::SetResourceRoot(""); }

  // Writes a PNG of one colour; `relative` is taken from the root and may leave it.
  void WritePng(const QString& relative, int width, int height, QColor colour = kPlain) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    ASSERT_TRUE(image.save(root_ + relative, "PNG")) << relative.toStdString();
  }
  void WriteBytes(const QString& relative, const QByteArray& bytes) const {
    QFile file(root_ + relative);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QString root() const { return root_; }

 private:
  QTemporaryDir dir_;
  QString root_;
};

QColor ColourOf(const gui::Picture& picture) { return picture.impl().pixmap().toImage().pixelColor(0, 0); }

TEST(Picture, ReadsTheFileNamedExactlyAndNoOther) {
  DiskRoot disk;
  disk.WritePng("Logo.png", 30, 20);

  const int before = gui::testing::PictureReads();
  auto picture = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 30);
  EXPECT_EQ(picture->Height(), 20);
  EXPECT_EQ(ColourOf(*picture), kPlain);
  EXPECT_EQ(gui::testing::PictureReads(), before + 1);

  // No letter case changed, no extension added or dropped.
  for (const char* other : {"logo.png", "LOGO.PNG", "Logo", "Logo.png.png", "Logo.PNG"}) {
    EXPECT_EQ(gui::Picture::_OpenFromApp(other), nullptr) << other;
  }
}

TEST(Picture, PngDataWithoutAnExtensionIsFoundByItsBareName) {
  DiskRoot disk;
  disk.WritePng("Mark", 65, 65);  // PNG bytes, no ".png" in the name

  auto picture = gui::Picture::_OpenFromApp("Mark");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 65);
  EXPECT_EQ(picture->Height(), 65);
  EXPECT_EQ(gui::Picture::_OpenFromApp("Mark.png"), nullptr);
}

// Only a file that is there counts as read, whether or not it decodes; every call reads anew
// (keeping a picture is the caller's business).
TEST(Picture, MissingOrUndecodableFilesGiveNothingAndOnlyPresentOnesCountAsRead) {
  DiskRoot disk;
  disk.WriteBytes("Broken.png", "this is not an image");
  disk.WriteBytes("Empty.png", "");
  disk.WritePng("Logo.png", 4, 4);

  const int before = gui::testing::PictureReads();
  EXPECT_EQ(gui::Picture::_OpenFromApp("Missing.png"), nullptr);
  EXPECT_EQ(gui::testing::PictureReads(), before);

  EXPECT_EQ(gui::Picture::_OpenFromApp("Broken.png"), nullptr);
  EXPECT_EQ(gui::Picture::_OpenFromApp("Empty.png"), nullptr);
  EXPECT_EQ(gui::testing::PictureReads(), before + 2);

  auto first = gui::Picture::_OpenFromApp("Logo.png");
  auto second = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(gui::testing::PictureReads(), before + 4);
}

// A name is a file name inside the root. Each of these names an existing PNG somewhere (or
// nothing sensible) and must be refused without touching the disk.
TEST(Picture, NamesThatWouldLeaveTheRootAreRefused) {
  DiskRoot disk;
  disk.WritePng("../Outside.png", 8, 8);  // next to the root, not in it
  QDir(disk.root()).mkdir("sub");
  disk.WritePng("sub/Inside.png", 8, 8);
  const std::string absolute = (disk.root() + "sub/Inside.png").toStdString();

  const int before = gui::testing::PictureReads();
  for (const std::string& name :
       {std::string("../Outside.png"), std::string("sub/Inside.png"), std::string("sub\\Inside.png"),
        std::string("./sub/Inside.png"), absolute, std::string(".."), std::string("")}) {
    EXPECT_EQ(gui::Picture::_OpenFromApp(name), nullptr) << name;
  }
  EXPECT_EQ(gui::testing::PictureReads(), before);
}

TEST(Picture, EmptyRootMeansTheApplicationResourcesAgain) {
  DiskRoot disk;
  disk.WritePng("Logo.png", 4, 4);
  ASSERT_NE(gui::Picture::_OpenFromApp("Logo.png"), nullptr);
  gui::testing::SetResourceRoot("");
  // The framework's own tests carry no pictures, so the file on disk must not be seen now.
  EXPECT_EQ(gui::Picture::_OpenFromApp("Logo.png"), nullptr);
}

TEST(Picture, OffTheUiThreadTheReadIsRefused) {
  DiskRoot disk;
  disk.WritePng("Logo.png", 4, 4);
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

TEST(Picture, OnAScreenOfOnePixelPerPointThePlainRenderingIsUsed) {
  if (QGuiApplication::primaryScreen()->devicePixelRatio() > 1.0)
    GTEST_SKIP() << "this screen has more than one device pixel a point";
  DiskRoot disk;
  disk.WritePng("Logo.png", 30, 20, kPlain);
  disk.WritePng("Logo@2x.png", 60, 40, kDouble);

  auto picture = gui::Picture::_OpenFromApp("Logo.png");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(ColourOf(*picture), kPlain);
  EXPECT_EQ(picture->impl().pixmap().devicePixelRatio(), 1.0);
  EXPECT_EQ(picture->Width(), 30);
}

constexpr const char* kHighResolutionChild = "MOBRIGAN_PICTURE_TEST_HIGH_RESOLUTION";

// Runs PictureHighResolution.* in a fresh process whose screen has two device pixels a point:
// the scale factor must be set before the QApplication exists.
TEST(Picture, OnAHighResolutionScreenTheDoubleSizeRenderingIsUsed) {
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

TEST(PictureHighResolution, ChoosesTheDoubleSizeRenderingWherePresent) {
  if (!std::getenv(kHighResolutionChild)) GTEST_SKIP() << "runs in the child process of the test above";
  ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
  DiskRoot disk;
  disk.WritePng("Logo.png", 30, 20, kPlain);
  disk.WritePng("Logo@2x.png", 60, 40, kDouble);
  disk.WritePng("Mark", 10, 12, kPlain);
  disk.WritePng("Mark@2x", 20, 24, kDouble);
  disk.WritePng("Alone.png", 7, 9, kPlain);
  disk.WritePng("Broken.png", 5, 5, kPlain);
  disk.WriteBytes("Broken@2x.png", "not an image");

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
      {"Broken.png", 5, 5, kPlain, 1.0},   // one that does not decode: the plain one
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
