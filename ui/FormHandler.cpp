#include "ui/FormHandler.h"

#include "ui/LoggedCall.h"

bool HandledForm::handle(const char* procedure, const std::function<void()>& body)
{
    if (!isLoaded())
        return false;
    if (RunLogged(name(), procedure, body))
        return true;
    if (isLoaded())
        afterHandlerError();
    return false;
}
