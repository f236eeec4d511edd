#include "platform/gui/WindowCapture.h"

#include <QPainter>
#include <QWidget>

QImage CaptureWindow(QWidget* window, int extra, const QColor& background)
{
    const QSize size = window->size() + QSize(extra, extra);
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    QPainter painter(&image);
    window->render(&painter, QPoint(0, 0), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}
