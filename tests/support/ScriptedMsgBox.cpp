#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

ScriptedMsgBox::ScriptedMsgBox()
{
    previous_ = SetMsgBoxHandler([this](const QString& text, int style, const QString& title) {
        shown_.push_back({text, style, title});
        if (!script_.empty()) {
            const Step step = script_.front();
            script_.pop_front();
            EXPECT_EQ(step.title.toStdString(), title.toStdString()) << "box text: " << text.toStdString();
            if (!step.textPart.isEmpty()) {
                EXPECT_TRUE(text.contains(step.textPart))
                    << "box text: " << text.toStdString() << " lacks: " << step.textPart.toStdString();
            }
            return step.answer;
        }
        if (!allowAny_)
            ADD_FAILURE() << "unexpected message box [" << title.toStdString() << "] " << text.toStdString();
        return MsgBoxDefaultAnswer(style);
    });
}

ScriptedMsgBox::~ScriptedMsgBox()
{
    SetMsgBoxHandler(std::move(previous_));
    for (const Step& s : script_)
        ADD_FAILURE() << "expected message box not shown: [" << s.title.toStdString() << "]";
}

ScriptedMsgBox& ScriptedMsgBox::expect(const QString& title, int answer, const QString& textPart)
{
    script_.push_back({title, textPart, answer});
    return *this;
}

ScriptedMsgBox& ScriptedMsgBox::allowAny()
{
    allowAny_ = true;
    return *this;
}
