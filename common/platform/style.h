// The style of the suite's windows.
#pragma once

namespace plat {

// Makes the application's style (the platform's own) the style of every window, with one change: the icon of the
// button a menu bar or tool bar shows for the items it has no room for is read from its image file when it is
// first drawn, not when the bar is made. Reading it asks every image-format plug-in installed whether it reads
// the file, and the button is seldom shown. Call it once the
// application object exists and before the first window is made.
void UseSuiteStyle();

}  // namespace plat
