#include "ui/ControlFactory.h"

#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImNumber.h"
#include "ui/LineButton.h"

#include <QKeyEvent>
#include <QPushButton>

QFont WindowFont(bool bold, int pointSize)
{
    QFont f(QString::fromUtf16(kFontPGothic));
    f.setPointSize(pointSize);
    f.setBold(bold);
    return f;
}

void SetDialogFrame(QWidget* window, const QString& title, const QSize& size, const std::optional<QFont>& font)
{
    window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowTitle(title);
    window->setFixedSize(size);
    if (font)
        window->setFont(*font);
}

namespace {

// Enter presses the focused button, as Space does. The button stays neither default nor
// auto-default, so Enter in another control of its window never presses it.
class EnterPresses : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        auto* b = static_cast<QPushButton*>(watched);
        if ((k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) || (k->modifiers() & ~Qt::KeypadModifier) ||
            !b->isEnabled())
            return false;
        b->click();
        return true;
    }
};

}  // namespace

QPushButton* NewCommandButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* b = NewControl<QPushButton>(parent, name, geometry, caption);
    b->setAutoDefault(false);
    b->setDefault(false);
    b->installEventFilter(new EnterPresses(b));
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
