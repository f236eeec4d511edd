#pragma once
// Windows on X11 take the screen's default colormap. Qt gives every window it creates a colormap
// of its own, even one drawn with the screen's default visual; tools that rebuild a picture of
// the screen window by window (xwd, screen captures) then read a window lying wholly inside a
// larger one of the program from the larger window, where it is covered, and show it black.
// With the default colormap the program's windows read like any other. Needs the application
// object; on other platforms (offscreen) nothing changes.
void UseScreenColormap();
