#pragma once

class QWidget;

namespace orv::app {

// Places a top-level window so that its frame, title bar included, is centred on the
// available area of its screen. The frame's size is known only once the window manager
// has framed the shown window, so the window is placed again at that moment, once.
void CentreOnScreen(QWidget& window);

}  // namespace orv::app
