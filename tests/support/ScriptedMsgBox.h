#pragma once
// Answers message boxes from a script during a test. Every box is recorded; a box that the
// script does not expect fails the test and is answered with its default button.
#include <QString>
#include <deque>
#include <vector>

#include "platform/core/MsgBox.h"

struct ShownBox {
    QString text;
    int style = 0;
    QString title;
};

class ScriptedMsgBox {
public:
    ScriptedMsgBox();
    ~ScriptedMsgBox();                      // fails the test if expected boxes were not shown
    ScriptedMsgBox(const ScriptedMsgBox&) = delete;
    ScriptedMsgBox& operator=(const ScriptedMsgBox&) = delete;

    // The next box must have this title (and text containing textPart when given); answer it so.
    ScriptedMsgBox& expect(const QString& title, int answer, const QString& textPart = QString());
    // Accept any further boxes, answering each with its default button.
    ScriptedMsgBox& allowAny();

    const std::vector<ShownBox>& shown() const { return shown_; }
    int pending() const { return int(script_.size()); }

private:
    struct Step {
        QString title, textPart;
        int answer;
    };
    std::deque<Step> script_;
    std::vector<ShownBox> shown_;
    bool allowAny_ = false;
    MsgBoxHandler previous_;
};
