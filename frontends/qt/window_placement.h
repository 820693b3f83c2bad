// The front panel's place on the desktop at start: centred, the window manager's title bar
// and frame included, as a person sees the window.
#pragma once

class QWidget;

// Centres `window` on its screen's available area now, by its client area, and again by its
// frame once a window manager has framed it (on a desktop without one the two are the same).
void centre_on_screen(QWidget& window);
