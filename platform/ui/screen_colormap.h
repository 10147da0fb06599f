#pragma once
// The colormap of the program's windows on an X11 display.
class QApplication;

namespace ui {

// From now on every window the application shows on an X11 display uses its
// screen's default colormap, as the windows of other X clients do, instead of
// the private colormap of the same visual that Qt creates. Screen readers
// that honour colormaps (xwd, the X window dump) read a display whose windows
// use private colormaps window by window, and leave a window that lies within
// another of the program's windows (a message box, the options window, a
// drop-down list) as a black rectangle. Windows of another visual (translucent
// ones) keep their own colormap. Does nothing on other window systems.
void useScreenColormap(QApplication& application);

} // namespace ui
