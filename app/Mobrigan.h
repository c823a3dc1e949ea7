// The application object: one per run, made and registered by the start-up, then held by the
// layer. It keeps the version data and the menu bar that the start-up gives it; it handles none
// of the application's events.
#pragma once

#include <string>

#include "framework/Application.h"

namespace mobrigan {

class Mobrigan : public gui::Application {
 public:
  static constexpr const char* kClassName = "Mobrigan";
  std::string ClassName() const override { return kClassName; }

  void Constructor() override;
};

}  // namespace mobrigan
