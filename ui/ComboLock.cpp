#include "ui/ComboLock.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVariant>

namespace {

const char kLocked[] = "Locked";

// Eats what would change a locked box; one filter serves every box.
class LockFilter : public QObject {
public:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        auto* box = qobject_cast<QComboBox*>(obj);
        if (!box || !ComboLocked(box))
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(e);
            switch (k->key()) {
            case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_Return: case Qt::Key_Enter:
            case Qt::Key_Escape: case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt:
                return false;
            case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Home: case Qt::Key_End:
                return !box->isEditable();           // cursor moves in the read-only text
            default:
                return !box->isEditable() || !k->text().isEmpty() || k->key() == Qt::Key_Up
                       || k->key() == Qt::Key_Down || k->key() == Qt::Key_PageUp
                       || k->key() == Qt::Key_PageDown || k->key() == Qt::Key_F4;
            }
        }
        default:
            return false;
        }
    }
};

LockFilter* Filter()
{
    static LockFilter* filter = new LockFilter;      // lives as long as the program
    return filter;
}

}  // namespace

bool ComboLocked(const QComboBox* box)
{
    return box->property(kLocked).toBool();
}

void SetComboLocked(QComboBox* box, bool locked)
{
    box->setProperty(kLocked, locked);
    box->removeEventFilter(Filter());
    if (locked)
        box->installEventFilter(Filter());
    if (QLineEdit* edit = box->lineEdit())
        edit->setReadOnly(locked);
}
