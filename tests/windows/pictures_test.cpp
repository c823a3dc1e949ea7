// The interface pictures: the ten files compiled into the program under ":/app/", and the five
// accessors that load them once and keep them.
//
// The accessors' caches live for the whole process, and nothing empties them. ctest runs every
// case in a process of its own; in a hand run of the whole program the cases run in the order
// written, each working with accessors the earlier ones left alone. A case that finds its
// accessor already filled (under --gtest_shuffle or --gtest_repeat) skips rather than guesses.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <exception>
#include <memory>
#include <string>
#include <thread>

#include "framework/Picture.h"
#include "framework/internal/PictureImpl.h"
#include "resources/Pictures.h"
#include "support/GuiTestSupport.h"

// The program's pictures are one compiled resource named "pictures" (resources/Resources.cmake).
// Its register and unregister functions are declared by these macros where they stand, so they
// must stand at global scope.
static void RemoveProgramPictures() { Q_CLEANUP_RESOURCE(pictures); }
static void RestoreProgramPictures() { Q_INIT_RESOURCE(pictures); }

namespace {

using Accessor = std::shared_ptr<gui::Picture> (*)();

// While it lives, the program's own pictures are not among the resources.
class ProgramPicturesAbsent {
 public:
  ProgramPicturesAbsent() { RemoveProgramPictures(); }
  ~ProgramPicturesAbsent() { RestoreProgramPictures(); }
  ProgramPicturesAbsent(const ProgramPicturesAbsent&) = delete;
  ProgramPicturesAbsent& operator=(const ProgramPicturesAbsent&) = delete;
};

// Stand-ins under ":/app/" (tests/resources/stand_ins), all plain green: Info.png at the real
// one's 72 x 70 (so an accessor left holding it still passes the later cases of a hand run), and
// ImageSmaller.png, 30 x 30.
class StandIns : public testsupport::ResourceFile {
 public:
  StandIns() : ResourceFile(QStringLiteral(MOBRIGAN_STAND_IN_PICTURES)) {}
};
const QColor kStandIn(0, 120, 0);

bool IsStandIn(const gui::Picture& picture) {
  return picture.impl().pixmap().toImage().pixelColor(0, 0) == kStandIn;
}

// True when the accessor has a picture stored already: with the program's pictures gone, only a
// stored picture can come back. An empty result leaves the accessor as it was.
bool AlreadyStored(Accessor accessor) {
  ProgramPicturesAbsent none;
  return accessor() != nullptr;
}

#define SKIP_IF_STORED(accessor) \
  if (AlreadyStored(accessor)) GTEST_SKIP() << #accessor " was filled by an earlier case in this process"

TEST(InterfacePictures, AnEmptyResultIsTriedAgainAndTheFileFoundLaterIsKept) {
  SKIP_IF_STORED(mobrigan::Info);
  std::shared_ptr<gui::Picture> found;
  {
    ProgramPicturesAbsent none;
    ASSERT_FALSE(QFile::exists(":/app/Info.png"));
    EXPECT_EQ(mobrigan::Info(), nullptr);
    EXPECT_EQ(mobrigan::Info(), nullptr);

    StandIns standIns;
    ASSERT_TRUE(standIns.registered());
    found = mobrigan::Info();
    ASSERT_NE(found, nullptr);
    EXPECT_TRUE(IsStandIn(*found));
  }
  // The stand-in is gone and the program's own Info.png back: the picture kept is not replaced.
  ASSERT_TRUE(QFile::exists(":/app/Info.png"));
  EXPECT_EQ(mobrigan::Info(), found);
  EXPECT_TRUE(IsStandIn(*found));
}

TEST(InterfacePictures, ImageSmallerIsAskedForWithoutAnExtension) {
  SKIP_IF_STORED(mobrigan::ImageSmaller);
  StandIns standIns;  // an "ImageSmaller.png" of 30 x 30
  ASSERT_TRUE(standIns.registered());
  {
    ProgramPicturesAbsent none;
    EXPECT_EQ(mobrigan::ImageSmaller(), nullptr);
  }
  // With the program's bare "ImageSmaller" back beside the stand-in, the bare one is taken.
  auto picture = mobrigan::ImageSmaller();
  ASSERT_NE(picture, nullptr);
  EXPECT_FALSE(IsStandIn(*picture));
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

  auto picture = mobrigan::ImageSmall();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(mobrigan::ImageSmall(), picture);
}

// Once a picture loads, the accessor gives that same object back, even when its file is gone.
TEST(InterfacePictures, AFreshAccessorReadsItsFileOnceAndThenReturnsTheSameObject) {
  for (Accessor accessor : {mobrigan::Compute2, mobrigan::Clear2}) {
    SKIP_IF_STORED(accessor);
    auto first = accessor();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(accessor(), first);
    ProgramPicturesAbsent none;
    EXPECT_EQ(accessor(), first);
  }
}

// Each accessor loads its own file: the five sizes differ, so a name mixed up between two
// accessors shows. Once loaded, a picture is kept.
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

    ProgramPicturesAbsent none;  // nothing to be found now: only the stored picture can come back
    EXPECT_EQ(c.accessor(), picture);
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
