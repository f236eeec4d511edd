#include "platform/gui/Handler.h"

#include "platform/core/Database.h"
#include "platform/core/RunTimeErrors.h"

#include <cstdio>

VbError::VbError(int number) : VbError(number, RunTimeErrorText(number)) {}
VbError VbError::InvalidCall() { return VbError(5); }
VbError VbError::SubscriptOutOfRange() { return VbError(9); }
VbError VbError::InvalidPropertyValue() { return VbError(380); }

namespace {
HandlerErrorSink& sink()
{
    static HandlerErrorSink s;
    return s;
}
}  // namespace

QString DescribeError(const std::exception& e)
{
    if (auto* v = dynamic_cast<const VbError*>(&e))
        return v->description();
    if (auto* d = dynamic_cast<const DbError*>(&e))
        return d->description();
    return QString::fromUtf8(e.what());
}

HandlerErrorSink SetHandlerErrorSink(HandlerErrorSink s)
{
    HandlerErrorSink previous = std::move(sink());
    sink() = std::move(s);
    return previous;
}

void ReportHandlerError(const QString& description, const QString& module, const QString& procedure)
{
    if (sink()) {
        sink()(description, module, procedure);
        return;
    }
    std::fprintf(stderr, "%s.%s: %s\n", module.toUtf8().constData(), procedure.toUtf8().constData(),
                 description.toUtf8().constData());
}

bool RunGuarded(const QString& module, const QString& procedure, const std::function<void()>& handler)
{
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ReportHandlerError(DescribeError(e), module, procedure);
    } catch (...) {
        ReportHandlerError(QStringLiteral("Unknown error"), module, procedure);
    }
    return false;
}
