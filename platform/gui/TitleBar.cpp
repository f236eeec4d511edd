#include "platform/gui/TitleBar.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace {
constexpr int kTitleBarRoom = 120;   // the icon and the buttons, with some room to spare
}

int TitleBarWidth(const QString& title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + kTitleBarRoom;
}
