#pragma once
// Answers message boxes from a script during a test. Every box is recorded; a box that the
// script does not expect fails the test and is answered with its default button.
#include <QString>
#include <cstddef>
#include <deque>
#include <source_location>
#include <vector>

#include "platform/core/MsgBox.h"

struct ShownBox {
    QString text;
    int style = 0;
    QString title;
};

// The boxes shown, in order. Reading a box that was not shown ([i] past the end, front() or back()
// of none) fails the test at the line that reads it and gives an empty box, so a missing box is a
// failure, never a crash.
class ShownBoxes : public std::vector<ShownBox> {
public:
    // A position read, with the place of the test that reads it.
    struct Index {
        Index(std::size_t i, std::source_location where = std::source_location::current()) : i(i), where(where) {}
        std::size_t i;
        std::source_location where;
    };
    const ShownBox& operator[](Index index) const;
    const ShownBox& at(Index index) const { return (*this)[index]; }
    const ShownBox& front(std::source_location where = std::source_location::current()) const { return (*this)[{0, where}]; }
    const ShownBox& back(std::source_location where = std::source_location::current()) const;
};

class ScriptedMsgBox {
public:
    ScriptedMsgBox();
    ~ScriptedMsgBox();                      // fails the test if expected boxes were not shown
    ScriptedMsgBox(const ScriptedMsgBox&) = delete;
    ScriptedMsgBox& operator=(const ScriptedMsgBox&) = delete;

    // The next box must have this title (and text containing textPart when given); answer it so.
    // A box expected and never shown fails the test at the line that expected it.
    ScriptedMsgBox& expect(const QString& title, int answer, const QString& textPart = QString(),
                           std::source_location where = std::source_location::current());
    // Accept any further boxes, answering each with its default button.
    ScriptedMsgBox& allowAny();

    const ShownBoxes& shown() const { return shown_; }
    int pending() const { return int(script_.size()); }

private:
    struct Step {
        QString title, textPart;
        int answer;
        std::source_location where;
    };
    std::deque<Step> script_;
    ShownBoxes shown_;
    bool allowAny_ = false;
    MsgBoxHandler previous_;
};
