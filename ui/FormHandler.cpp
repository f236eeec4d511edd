#include "ui/FormHandler.h"

#include "foundation/ErrLog.h"
#include "platform/gui/Form.h"
#include "platform/gui/Handler.h"

bool RunFormHandler(Form& form, const char* procedure, const std::function<void()>& body)
{
    if (!form.isLoaded())
        return false;
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        SetErrLog(DescribeError(e), form.name(), QString::fromLatin1(procedure));
        return false;
    }
}
