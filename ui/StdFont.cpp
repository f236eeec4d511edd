#include "ui/StdFont.h"

#include <QVariant>

namespace {
const char kFontObject[] = "panelo2StdFont";
}

StdFont::StdFont(const QString& name, double size, bool bold)
{
    font_.setFamily(name);
    font_.setPointSizeF(size);
    font_.setBold(bold);
}

StdFont::~StdFont()
{
    for (const QPointer<QWidget>& w : users_)
        if (w && Of(w) == this)
            w->setProperty(kFontObject, QVariant());
}

void StdFont::SetName(const QString& name) { font_.setFamily(name); Changed(); }
void StdFont::SetSize(double size) { font_.setPointSizeF(size); Changed(); }
void StdFont::SetBold(bool bold) { font_.setBold(bold); Changed(); }

void StdFont::Changed()
{
    users_.removeIf([this](const QPointer<QWidget>& w) { return !w || Of(w) != this; });
    for (const QPointer<QWidget>& w : users_)
        w->setFont(font_);
}

StdFont* StdFont::Of(const QWidget* control)
{
    return qobject_cast<StdFont*>(control->property(kFontObject).value<QObject*>());
}

void StdFont::Release(QWidget* control)
{
    if (StdFont* old = Of(control))
        old->users_.removeAll(control);
    control->setProperty(kFontObject, QVariant());
}

void StdFont::ApplyTo(QWidget* control)
{
    if (!control)
        return;
    Release(control);
    users_.append(control);
    control->setProperty(kFontObject, QVariant::fromValue<QObject*>(this));
    control->setFont(font_);
}

void StdFont::SetPlainFont(QWidget* control, const QFont& font)
{
    if (!control)
        return;
    Release(control);
    control->setFont(font);
}
