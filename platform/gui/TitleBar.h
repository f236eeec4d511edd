#pragma once
// The width a window needs for its whole title in the window manager's title bar: the title in
// the bold title font and the room the bar takes beside it (window icon and buttons; openbox's
// bar takes 104 pixels).
#include <QString>

int TitleBarWidth(const QString& title);
