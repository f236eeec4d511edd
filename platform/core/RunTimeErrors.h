#pragma once
// The error texts of the forms run time, as its Japanese edition shows them, and the run-time
// error that a failed file operation raises there, from the system's error code.
#include <QString>

// The text of a run-time error number; "" for a number not listed.
QString RunTimeErrorText(int number);
// The run-time error number of a file operation that failed with this errno value.
int FileErrorNumber(int systemError);
