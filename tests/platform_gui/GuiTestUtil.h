#pragma once
// Shared by the widget tests: the look set up once, windows rendered offscreen into images and
// saved under the build tree, and pixel probes.
#include "platform/gui/GuiSetup.h"

#include <QDir>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

// Sets up the Fusion style, palette and fonts before the first test.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { SetupGuiPlatform(); }
};

// The widget as it is drawn, at one device pixel per pixel.
inline QImage Render(QWidget* w)
{
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w->render(&img);
    return img;
}

// Renders the widget and saves it as <name>.png under the screenshot folder.
inline QImage SaveScreenshot(QWidget* w, const QString& name)
{
    const QImage img = Render(w);
    QDir().mkpath(QStringLiteral(PANELO2_ARTIFACT_DIR));
    img.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/") + name + QStringLiteral(".png"));
    return img;
}

inline QRgb PixelAt(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
