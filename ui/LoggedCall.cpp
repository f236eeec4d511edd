#include "ui/LoggedCall.h"

#include "foundation/ErrLog.h"
#include "platform/gui/Handler.h"

bool RunLogged(const QString& module, QAnyStringView procedure, const std::function<bool()>& step)
{
    try {
        return step();
    } catch (const std::exception& e) {
        SetErrLog(DescribeError(e), module, procedure.toString());
        return false;
    }
}

bool RetryOnce(const QString& module, QAnyStringView procedure, const std::function<void()>& step,
               SecondFailure second)
{
    if (RunLogged(module, procedure, step))
        return true;
    if (second == SecondFailure::Logged)
        return RunLogged(module, procedure, step);
    step();
    return true;
}
