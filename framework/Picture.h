// A picture shipped with the application, read from the resources compiled into the program.
#pragma once

#include <memory>
#include <string>

#include "framework/Object.h"

namespace gui {

class Picture : public Object {
 public:
  static constexpr const char* kClassName = "Picture";
  std::string ClassName() const override { return kClassName; }

  // The picture stored in the application's resources under exactly `fileName`, or nullptr when
  // there is none or it cannot be decoded. Where the screen has more than one device pixel per
  // point and a rendering named with "@2x" before the extension exists ("Info@2x.png",
  // "ImageSmaller@2x"), that one is used, drawn at the size of the plain one.
  static std::shared_ptr<Picture> _OpenFromApp(const std::string& fileName);

  // Size in points.
  int Width() const;
  int Height() const;

  struct Impl;
  explicit Picture(std::unique_ptr<Impl> impl);
  ~Picture() override;
  Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace gui
