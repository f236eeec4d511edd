#include "platform/core/SqlText.h"

#include "platform/core/DateSerial.h"

#include <QFileInfo>

namespace dbcore {

QString quoteIdent(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

QString quoteText(const QString& text)
{
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString uriFor(const QString& path)
{
    QString p = QFileInfo(path).absoluteFilePath();
    p.replace(QLatin1Char('%'), QStringLiteral("%25"));
    p.replace(QLatin1Char('?'), QStringLiteral("%3f"));
    p.replace(QLatin1Char('#'), QStringLiteral("%23"));
    return QStringLiteral("file:") + p + QStringLiteral("?mode=rw");
}

QString translateSql(const QString& sql)
{
    if (!sql.contains(QLatin1Char('#')))
        return sql;
    QString out;
    out.reserve(sql.size());
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            out += c;
            continue;
        }
        if (c == QLatin1Char('[')) {
            quote = QLatin1Char(']');
            out += c;
            continue;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end > i) {
                const QString inner = sql.mid(i + 1, end - i - 1);
                double serial;
                if (ParseSerialText(inner, &serial)) {
                    out += quoteText(SerialText(serial));
                    i = end;
                    continue;
                }
            }
        }
        out += c;
    }
    return out;
}

}  // namespace dbcore
