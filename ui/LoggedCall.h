#pragma once
// One step run under the error log: a run-time error the step throws is written as one line of
// ErrLog.txt with the module (window) and procedure texts given, and the step counts as failed.
// No message box is shown. The windows' own event procedures (FormHandler.h), the pattern list,
// the detail table, the save steps and the start-up's steps all run their steps through here.
#include <QAnyStringView>
#include <QString>
#include <functional>
#include <type_traits>

// Runs a step that says itself whether it went well: its answer, or false after an error.
bool RunLogged(const QString& module, QAnyStringView procedure, const std::function<bool()>& step);

// Runs a step without an answer of its own: true, or false after an error.
template <typename Step>
    requires std::is_void_v<std::invoke_result_t<Step&>>
bool RunLogged(const QString& module, QAnyStringView procedure, Step&& step)
{
    return RunLogged(module, procedure, std::function<bool()>([&step] {
                         step();
                         return true;
                     }));
}

// A step that fails is logged and run once more. The second failure is logged as well and ends
// the step (Logged), or goes on to the caller unlogged (Thrown). True when a run went through.
enum class SecondFailure { Logged, Thrown };
bool RetryOnce(const QString& module, QAnyStringView procedure, const std::function<void()>& step,
               SecondFailure second);
