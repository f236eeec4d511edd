#pragma once
// Shared by the widget tests: the look set up once, windows rendered offscreen into images and
// saved under the build tree, and pixel probes.
#include "platform/gui/GuiSetup.h"

#include <QAbstractButton>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>

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

// The captions of a window's visible labels and buttons that are drawn cut off: text wider or
// taller than its control, or a control reaching out of its parent; empty when every caption
// shows whole, else one entry per caption ("text (needed in given)", joined by "; ").
inline std::string CutCaptions(QWidget* window)
{
    QStringList cut;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window))
            continue;
        QSize needed;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w); l && !l->wordWrap() && !l->text().isEmpty()) {
            text = l->text();
            needed = l->fontMetrics().size(Qt::TextSingleLine, text);
            needed.rwidth() += l->width() - l->contentsRect().width();
        } else if (auto* p = qobject_cast<QPushButton*>(w); p && !p->text().isEmpty()) {
            text = p->text();
            needed = p->fontMetrics().size(Qt::TextSingleLine, text) + QSize(8, 2);   // inside the bevel
        } else if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
            text = b->text();
            needed = b->sizeHint();                                                 // with its indicator
        } else {
            continue;
        }
        if (needed.width() > w->width() || needed.height() > w->height() + 2 ||
            !QRect(QPoint(0, 0), w->parentWidget()->size()).contains(w->geometry()))
            cut << QStringLiteral("%1 (%2x%3 in %4x%5)").arg(text).arg(needed.width()).arg(needed.height())
                       .arg(w->width()).arg(w->height());
    }
    return cut.join(QStringLiteral("; ")).toStdString();
}
