// What a Picture holds, for the layer's own drawing code (the canvas paints its backdrop from it).
#pragma once

#include <QPixmap>
#include <utility>

#include "framework/Picture.h"

namespace gui {

struct Picture::Impl {
  explicit Impl(QPixmap pixmap) : pixmap_(std::move(pixmap)) {}
  // Its devicePixelRatio is 2 for an "@2x" rendering, so it draws at the plain size in points:
  // draw it with QPainter::drawPixmap(QPoint, ...) or scale it to deviceIndependentSize().
  const QPixmap& pixmap() const { return pixmap_; }

  QPixmap pixmap_;
};

}  // namespace gui
