#include "platform/core/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

QByteArray ToAnsi(const QString& text)
{
    QStringEncoder encoder("windows-31j");
    return encoder(text);
}

QString FromAnsi(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-31j");
    return decoder(bytes);
}

int AnsiLength(const QString& text)
{
    return int(ToAnsi(text).size());
}
