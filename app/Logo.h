#pragma once
// The program's picture: its name over a few cut sheets, drawn for the splash form and the
// main window.
#include <QPixmap>
#include <QSize>

QPixmap PaneloLogo(const QSize& size);
