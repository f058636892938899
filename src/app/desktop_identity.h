#pragma once

namespace orv::app {

// Tells the desktop which program the windows belong to: the desktop entry
// (orvconv.desktop, so that a Wayland desktop finds the icon and the name, and startup
// notification ends) and the icon installed under the theme's name.
void SetDesktopIdentity();

}  // namespace orv::app
