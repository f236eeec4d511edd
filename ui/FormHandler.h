#pragma once
// The base of every window with event procedures of its own, and the guard they run under:
// nothing runs once the window has unloaded itself (an event that arrives late), and an error
// ends the procedure with one line in the error log under the window's name and the
// procedure's (LoggedCall.h). A window that must tidy up after such an error (the mouse
// pointer back to normal) says so in afterHandlerError.
#include "platform/gui/Form.h"

#include <functional>

class HandledForm : public Form {
public:
    using Form::Form;

protected:
    // Runs one event procedure. False when it did not run or ended on an error.
    bool handle(const char* procedure, const std::function<void()>& body);
    // Called after a procedure ended on an error while the window is still loaded.
    virtual void afterHandlerError() {}
};
