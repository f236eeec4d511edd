#pragma once
// Text buffers as the platform's dialogs fill them: a fixed number of characters, the text
// ended by a NUL.
#include <QString>
#include <algorithm>

// The buffer's text up to its first NUL (all of it when it holds none).
inline QString UpToNul(const QString& buffer)
{
    const qsizetype nul = buffer.indexOf(QChar(0));
    return nul < 0 ? buffer : buffer.left(nul);
}

// The text followed by NULs up to size characters.
inline QString NulBuffer(const QString& text, qsizetype size)
{
    return text + QString(std::max<qsizetype>(0, size - text.size()), QChar(0));
}
