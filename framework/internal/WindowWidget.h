// The Qt side of a gui::Window: a top-level widget holding an optional menu bar above a content
// widget whose size is the window's Width x Height, so a menu bar never eats into the content.
#pragma once

#include <QWidget>

namespace gui {
class Window;
}

namespace gui::internal {

class ContentWidget : public QWidget {
 public:
  ContentWidget(gui::Window* owner, QWidget* parent);
  void setOwnerGone() { owner_ = nullptr; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  gui::Window* owner_;
};

class WindowWidget : public QWidget {
 public:
  explicit WindowWidget(gui::Window* owner);
  ContentWidget* content() const { return content_; }
  // The window object is going away: stop calling it.
  void detach() { owner_ = nullptr; content_->setOwnerGone(); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  gui::Window* owner_;
  ContentWidget* content_;
};

}  // namespace gui::internal
