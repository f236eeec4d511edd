#include "app/Logo.h"

#include "platform/gui/GuiSetup.h"

#include <QLinearGradient>
#include <QPainter>

QPixmap PaneloLogo(const QSize& size)
{
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const int h = size.height();
    // A sheet cut into three pieces, left of the name.
    const QRectF sheet(2, h * 0.15, h * 1.1, h * 0.7);
    p.fillRect(sheet, QColor(222, 184, 135));
    p.setPen(QPen(QColor(90, 60, 30), 1));
    p.drawRect(sheet);
    p.fillRect(QRectF(sheet.left() + 3, sheet.top() + 3, sheet.width() * 0.55, sheet.height() - 6), QColor(200, 40, 40));
    p.fillRect(QRectF(sheet.left() + sheet.width() * 0.55 + 6, sheet.top() + 3, sheet.width() * 0.45 - 9,
                      sheet.height() * 0.5 - 4), QColor(40, 110, 200));
    p.fillRect(QRectF(sheet.left() + sheet.width() * 0.55 + 6, sheet.top() + sheet.height() * 0.5 + 1,
                      sheet.width() * 0.45 - 9, sheet.height() * 0.5 - 4), QColor(240, 200, 40));

    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(h * 0.62));
    f.setBold(true);
    f.setItalic(true);
    p.setFont(f);
    const QRectF text(sheet.right() + 8, 0, size.width() - sheet.right() - 8, h);
    QLinearGradient g(text.topLeft(), text.bottomLeft());
    g.setColorAt(0, QColor(40, 70, 140));
    g.setColorAt(1, QColor(10, 30, 80));
    p.setPen(QPen(QBrush(g), 1));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Panelo2"));
    return pm;
}
