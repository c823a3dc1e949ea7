// The run's shared state, for the layer's own sources only.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "framework/Runtime.h"

class QApplication;

namespace gui {
class Window;
}

namespace gui::internal {

struct RunState {
  std::thread::id uiThread{};
  bool uiThreadKnown = false;
  std::vector<std::function<void()>> initializers;
  std::vector<std::function<void()>> finalizers;
  ExceptionHelper exceptionHelper = nullptr;
  double frameworkVersion = 0;
  bool hiDPI = false;
  std::shared_ptr<Application> app;
  std::unique_ptr<QApplication> ownedApp;  // the Qt application, when the layer made it
  bool quitting = false;
  bool unhandled = false;
  bool reporting = false;
  std::int32_t exitStatus = 0;
  std::function<void()> beepHook;
  std::function<void(const std::string&)> reportHook;
  std::vector<std::shared_ptr<Window>> openWindows;  // in the order they were made
};

RunState& State();

// Forgets and destroys every open window without raising any of its events.
void DestroyAllWindows();

}  // namespace gui::internal
