#include "resources/Pictures.h"

namespace mobrigan {

namespace {

// One accessor's cache: loads `fileName` while the slot is empty and keeps the first picture
// that loads. An empty result leaves the slot empty, so the next call reads again; an error
// from the read passes on before anything is stored.
std::shared_ptr<gui::Picture> Cached(std::shared_ptr<gui::Picture>& slot, const char* fileName) {
  if (!slot) slot = gui::Picture::_OpenFromApp(fileName);
  return slot;
}

}  // namespace

std::shared_ptr<gui::Picture> ImageSmall() {
  static std::shared_ptr<gui::Picture> pic;
  return Cached(pic, "ImageSmall.png");
}

std::shared_ptr<gui::Picture> Info() {
  static std::shared_ptr<gui::Picture> pic;
  return Cached(pic, "Info.png");
}

std::shared_ptr<gui::Picture> Compute2() {
  static std::shared_ptr<gui::Picture> pic;
  return Cached(pic, "Compute2.png");
}

std::shared_ptr<gui::Picture> Clear2() {
  static std::shared_ptr<gui::Picture> pic;
  return Cached(pic, "Clear2.png");
}

std::shared_ptr<gui::Picture> ImageSmaller() {
  static std::shared_ptr<gui::Picture> pic;
  return Cached(pic, "ImageSmaller");  // no extension: the name is the name
}

}  // namespace mobrigan
