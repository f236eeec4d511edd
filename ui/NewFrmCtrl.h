#pragma once
// The form controller with the system's colour scheme, bound to a form: every supported
// control registered, captions linked by name, the current state captured, style 1 applied.
#include <memory>

class Form;
class cFrmCtrl;

std::unique_ptr<cFrmCtrl> NewFrmCtrl(Form& form);
