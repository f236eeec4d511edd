#pragma once
// The guard of a window's own event procedures: nothing runs once the window has unloaded
// itself (an event that arrives late), and an error ends the procedure with one line in the
// error log under the window's name and the procedure's.
#include <functional>

class Form;

// False when the procedure did not run or ended on an error.
bool RunFormHandler(Form& form, const char* procedure, const std::function<void()>& body);
