#pragma once
// Errors of the forms run time, and the guard around event handlers: an error that escapes a
// handler is reported (the program writes it to its error log) and never leaves the event loop.
#include <QString>
#include <functional>
#include <stdexcept>

// A run-time error with the forms run time's number (5 invalid call, 9 subscript, 380 property value).
class VbError : public std::runtime_error {
public:
    VbError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    explicit VbError(int number);            // with the run time's own text of the number
    int number() const { return number_; }
    const QString& description() const { return description_; }
    static VbError InvalidCall();            // 5
    static VbError SubscriptOutOfRange();    // 9
    static VbError InvalidPropertyValue();   // 380

private:
    int number_;
    QString description_;
};

// The description of any caught exception, as the error log writes it.
QString DescribeError(const std::exception& e);

// Where escaped errors go: description, module (window) name, procedure name. Without a sink
// they are written to stderr.
using HandlerErrorSink = std::function<void(const QString&, const QString&, const QString&)>;
HandlerErrorSink SetHandlerErrorSink(HandlerErrorSink sink);   // returns the previous sink
void ReportHandlerError(const QString& description, const QString& module, const QString& procedure);

// Runs a handler; any exception it throws is reported under module and procedure.
// Returns false when it failed.
bool RunGuarded(const QString& module, const QString& procedure, const std::function<void()>& handler);
