#include "platform/core/MsgBox.h"

#include <cstdio>

namespace {
MsgBoxHandler& handler()
{
    static MsgBoxHandler h;
    return h;
}
}

int MsgBoxDefaultAnswer(int style)
{
    // The buttons of each set, in order; the default button picks one of them.
    static const int sets[6][3] = {{vbOK, vbOK, vbOK},        {vbOK, vbCancel, vbCancel},
                                   {vbAbort, vbRetry, vbIgnore}, {vbYes, vbNo, vbCancel},
                                   {vbYes, vbNo, vbNo},       {vbRetry, vbCancel, vbCancel}};
    const int set = (style & 7) <= 5 ? (style & 7) : 0;
    const int which = (style >> 8) & 3;
    return sets[set][which < 3 ? which : 0];
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler h)
{
    MsgBoxHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

int MsgBox(const QString& text, int style, const QString& title)
{
    if (handler())
        return handler()(text, style, title);
    std::fprintf(stderr, "[%s] %s\n", title.toLocal8Bit().constData(), text.toLocal8Bit().constData());
    return MsgBoxDefaultAnswer(style);
}
