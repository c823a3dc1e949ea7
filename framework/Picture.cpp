#include "framework/Picture.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QScreen>
#include <QString>
#include <cmath>
#include <optional>

#include "framework/Runtime.h"
#include "framework/internal/PictureImpl.h"

namespace gui {

namespace {

// The pictures compiled into the program; nothing is read from the disk.
constexpr const char* kRoot = ":/app/";

// A name is a plain file name in that folder: resource paths are cleaned like file paths, so
// a separator or ".." could still reach another resource folder (":/app/../x" is ":/x").
bool IsPlainName(const std::string& name) {
  return !name.empty() && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find("..") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// "Info.png" -> "Info@2x.png"; "ImageSmaller" -> "ImageSmaller@2x". A leading dot starts no
// extension (".hidden" -> ".hidden@2x").
std::string DoubleSizeName(const std::string& name) {
  const auto dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return name + "@2x";
  return name.substr(0, dot) + "@2x" + name.substr(dot);
}

bool HighResolutionScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen && screen->devicePixelRatio() > 1.0;
}

// The decoded file, or nothing when it is absent or not an image. The format comes from the
// content, so a name without an extension works.
std::optional<QImage> ReadImage(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  // Try PNG, what the program ships, before guessing: guessing loads every image plugin Qt has.
  QImageReader reader(&file, "png");
  QImage image = reader.read();
  if (image.isNull()) {
    file.seek(0);
    QImageReader guess(&file);
    guess.setDecideFormatFromContent(true);
    image = guess.read();
  }
  if (image.isNull()) return std::nullopt;
  return image;
}

}  // namespace

std::shared_ptr<Picture> Picture::_OpenFromApp(const std::string& fileName) {
  CheckUIThread();
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    throw UnsupportedOperationException("a picture cannot be loaded before the application starts");
  if (!IsPlainName(fileName)) return nullptr;

  const std::string root = kRoot;

  QPixmap pixmap;
  if (HighResolutionScreen()) {
    if (auto image = ReadImage(root + DoubleSizeName(fileName))) {
      pixmap = QPixmap::fromImage(*image);
      pixmap.setDevicePixelRatio(2.0);
    }
  }
  if (pixmap.isNull()) {
    // A name asked for with "@2x" in it is a double-size rendering all the same: Qt's reader
    // gives it two pixels a point, so it measures the same in points as its plain twin.
    if (auto image = ReadImage(root + fileName)) pixmap = QPixmap::fromImage(*image);
  }
  if (pixmap.isNull()) return nullptr;
  return std::make_shared<Picture>(std::make_unique<Impl>(std::move(pixmap)));
}

Picture::Picture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Picture::~Picture() = default;

int Picture::Width() const {
  return static_cast<int>(std::lround(impl_->pixmap().deviceIndependentSize().width()));
}

int Picture::Height() const {
  return static_cast<int>(std::lround(impl_->pixmap().deviceIndependentSize().height()));
}

}  // namespace gui
