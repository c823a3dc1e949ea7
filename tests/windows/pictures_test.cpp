// The interface pictures: the ten files compiled into the program under ":/app/", and the five
// accessors that load them once and keep them.
//
// The accessors' caches live for the whole process, and nothing empties them. ctest runs every
// case in a process of its own; in a hand run of the whole program the cases run in the order
// written, each working with accessors the earlier ones left alone. A case that finds its
// accessor already filled (under --gtest_shuffle or --gtest_repeat) skips rather than guesses.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <exception>
#include <memory>
#include <string>
#include <thread>

#include "framework/Picture.h"
#include "framework/Testing.h"
#include "framework/internal/PictureImpl.h"
#include "resources/Pictures.h"

namespace {

using Accessor = std::shared_ptr<gui::Picture> (*)();

// A resource root on disk, empty until a test writes into it.
class DiskRoot {
 public:
  DiskRoot() { gui::testing::SetResourceRoot((dir_.path() + "/").toStdString()); }
  ~DiskRoot() { gui::testing::SetResourceRoot(""); }

  void WritePng(const QString& name, int width, int height) const {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(dir_.path() + "/" + name, "PNG")) << name.toStdString();
  }

 private:
  QTemporaryDir dir_;
};

// True when the accessor has a picture stored already: with an empty root, only a stored
// picture can come back. An empty result leaves the accessor as it was.
bool AlreadyStored(Accessor accessor) {
  DiskRoot empty;
  return accessor() != nullptr;
}

#define SKIP_IF_STORED(accessor) \
  if (AlreadyStored(accessor)) GTEST_SKIP() << #accessor " was filled by an earlier case in this process"

TEST(InterfacePictures, AnEmptyResultIsTriedAgainAndTheFileFoundLaterIsKept) {
  SKIP_IF_STORED(mobrigan::Info);
  DiskRoot disk;
  EXPECT_EQ(mobrigan::Info(), nullptr);
  EXPECT_EQ(mobrigan::Info(), nullptr);

  disk.WritePng("Info.png", 72, 70);
  const int before = gui::testing::PictureReads();
  auto found = mobrigan::Info();
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Width(), 72);
  EXPECT_EQ(gui::testing::PictureReads(), before + 1);

  gui::testing::SetResourceRoot("");  // the compiled-in Info.png is there too: it is not read
  EXPECT_EQ(mobrigan::Info(), found);
  EXPECT_EQ(gui::testing::PictureReads(), before + 1);
}

TEST(InterfacePictures, ImageSmallerIsAskedForWithoutAnExtension) {
  SKIP_IF_STORED(mobrigan::ImageSmaller);
  DiskRoot disk;
  disk.WritePng("ImageSmaller.png", 65, 65);
  EXPECT_EQ(mobrigan::ImageSmaller(), nullptr);

  disk.WritePng("ImageSmaller", 65, 65);
  auto picture = mobrigan::ImageSmaller();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 65);
  EXPECT_EQ(picture->Height(), 65);
}

TEST(InterfacePictures, AnErrorFromTheReadReachesTheCallerAndStoresNothing) {
  SKIP_IF_STORED(mobrigan::ImageSmall);
  std::exception_ptr error;
  std::shared_ptr<gui::Picture> offThread;
  std::thread worker([&] {
    try {
      offThread = mobrigan::ImageSmall();  // a load off the UI thread is refused by the layer
    } catch (...) {
      error = std::current_exception();
    }
  });
  worker.join();
  ASSERT_TRUE(error);
  EXPECT_THROW(std::rethrow_exception(error), gui::ThreadAccessingUIException);
  EXPECT_EQ(offThread, nullptr);

  const int before = gui::testing::PictureReads();
  auto picture = mobrigan::ImageSmall();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(gui::testing::PictureReads(), before + 1);
}

TEST(InterfacePictures, AFreshAccessorReadsItsFileOnceAndThenReturnsTheSameObject) {
  for (Accessor accessor : {mobrigan::Compute2, mobrigan::Clear2}) {
    SKIP_IF_STORED(accessor);
    const int before = gui::testing::PictureReads();
    auto first = accessor();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(accessor(), first);
    EXPECT_EQ(accessor(), first);
    EXPECT_EQ(gui::testing::PictureReads(), before + 1);
  }
}

// Each accessor loads its own file: the five sizes differ, so a name mixed up between two
// accessors shows. Once loaded, a picture is never read again.
TEST(InterfacePictures, EachAccessorGivesItsOwnPictureAndKeepsIt) {
  const struct {
    const char* name;
    Accessor accessor;
    int width, height;
  } cases[] = {
      {"ImageSmall", mobrigan::ImageSmall, 133, 129}, {"Info", mobrigan::Info, 72, 70},
      {"Compute2", mobrigan::Compute2, 106, 38},      {"Clear2", mobrigan::Clear2, 106, 39},
      {"ImageSmaller", mobrigan::ImageSmaller, 65, 65},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = c.accessor();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), c.width);
    EXPECT_EQ(picture->Height(), c.height);

    const int reads = gui::testing::PictureReads();
    DiskRoot empty;  // where nothing could be found: only the stored picture can come back
    EXPECT_EQ(c.accessor(), picture);
    EXPECT_EQ(gui::testing::PictureReads(), reads);
  }
}

// The files as compiled into the program, each in points and in pixels. A name with "@2x" in it
// is a double-size rendering by its name, so it measures as many points as its plain twin.
TEST(InterfacePictures, TheApplicationResourcesHoldAllTenRenderings) {
  const struct {
    const char* name;
    int width, height;  // points
    int scale;          // pixels per point
  } cases[] = {
      {"ImageSmall.png", 133, 129, 1}, {"ImageSmall@2x.png", 133, 129, 2},
      {"Info.png", 72, 70, 1},         {"Info@2x.png", 72, 70, 2},
      {"Compute2.png", 106, 38, 1},    {"Compute2@2x.png", 106, 38, 2},
      {"Clear2.png", 106, 39, 1},      {"Clear2@2x.png", 106, 39, 2},
      {"ImageSmaller", 65, 65, 1},     {"ImageSmaller@2x", 65, 65, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto picture = gui::Picture::_OpenFromApp(c.name);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), c.width);
    EXPECT_EQ(picture->Height(), c.height);
    EXPECT_EQ(picture->impl().pixmap().width(), c.width * c.scale);
    EXPECT_EQ(picture->impl().pixmap().height(), c.height * c.scale);
  }
  EXPECT_EQ(gui::Picture::_OpenFromApp("ImageSmaller.png"), nullptr);
}

}  // namespace
