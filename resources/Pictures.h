// The interface pictures: the faces of the picture buttons and the two logos. Each is read from
// the application's resources the first time it is asked for and kept for the rest of the run; a
// read that finds nothing is tried again on the next call.
#pragma once

#include <memory>

#include "framework/Picture.h"

namespace mobrigan {

std::shared_ptr<gui::Picture> ImageSmall();    // "ImageSmall.png": the splash window's logo
std::shared_ptr<gui::Picture> Info();          // "Info.png": the Help button
std::shared_ptr<gui::Picture> Compute2();      // "Compute2.png": the Compute button
std::shared_ptr<gui::Picture> Clear2();        // "Clear2.png": the Clear button
std::shared_ptr<gui::Picture> ImageSmaller();  // "ImageSmaller": the main window's logo

}  // namespace mobrigan
