#pragma once
// The picture of a window for a screen print. The window is drawn into the image by itself
// (QWidget::render) rather than copied from the screen, which Wayland and the offscreen platform
// do not give: what covers the window is not in the picture, and the window frame and title bar
// drawn by the desktop are not either.
#include <QColor>
#include <QImage>

class QWidget;

// The window's client area at the top left of an image `extra` pixels wider and higher than
// it, the rest of the image filled with the background colour.
QImage CaptureWindow(QWidget* window, int extra, const QColor& background);
