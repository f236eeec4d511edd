#include "ui/ControlFactory.h"

#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImNumber.h"
#include "ui/LineButton.h"

#include <QPushButton>

QFont WindowFont(bool bold, int pointSize)
{
    QFont f(QString::fromUtf16(kFontPGothic));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

QPushButton* NewCommandButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = NewControl<QPushButton>(parent, name, geometry, caption);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

LineButton* NewLineButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = new LineButton(parent, caption);
    b->setObjectName(QString::fromLatin1(name));
    b->setFont(WindowFont(true));
    b->setGeometry(geometry);
    return b;
}

ImNumber* NewNumberBox(QWidget* parent, const char* name, const QRect& geometry, const QString& format)
{
    auto* n = NewControl<ImNumber>(parent, name, geometry);
    n->setDisplayFormat(format);
    n->setFormat(format);
    return n;
}
