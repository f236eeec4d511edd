#include "platform/gui/ImText.h"

#include "platform/core/AnsiText.h"

ImText::ImText(QWidget* parent) : ImEdit(QStringLiteral("imText"), parent)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (enforcing_)
            return;
        enforce();
        if (text() == shown_)
            return;   // a typed character that did not fit changes nothing
        shown_ = text();
        emit Change();
    });
}

void ImText::setMaxLength(int length)
{
    maxLength_ = std::max(0, length);
    setLengthAsByte(lengthAsByte_);
}

void ImText::setLengthAsByte(bool on)
{
    lengthAsByte_ = on;
    QLineEdit::setMaxLength(maxLength_ > 0 && !on ? maxLength_ : 32767);
    enforce();
}

void ImText::ClearControl()
{
    if (!isReadOnly())
        setText(QString());
}

QString ImText::CutToBytes(const QString& text, int bytes)
{
    int used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const int len = AnsiLength(text.mid(i, n));
        if (used + len > bytes)
            break;
        used += len;
        i += n;
    }
    return text.left(i);
}

void ImText::enforce()
{
    if (maxLength_ <= 0 || !lengthAsByte_ || AnsiLength(text()) <= maxLength_)
        return;
    const int cursor = cursorPosition();
    enforcing_ = true;
    setText(CutToBytes(text(), maxLength_));
    setCursorPosition(std::min<int>(cursor, int(text().size())));
    enforcing_ = false;
}
