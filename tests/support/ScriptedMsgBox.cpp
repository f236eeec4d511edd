#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>
#include <string>

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
        GTEST_MESSAGE_AT_(s.where.file_name(), int(s.where.line()),
                          ("expected message box not shown: [" + s.title.toStdString() + "]").c_str(),
                          ::testing::TestPartResult::kNonFatalFailure);
}

ScriptedMsgBox& ScriptedMsgBox::expect(const QString& title, int answer, const QString& textPart,
                                       std::source_location where)
{
    script_.push_back({title, textPart, answer, where});
    return *this;
}

ScriptedMsgBox& ScriptedMsgBox::allowAny()
{
    allowAny_ = true;
    return *this;
}

namespace {

const ShownBox& missingBox(std::size_t i, std::size_t shown, const std::source_location& where)
{
    static const ShownBox none;
    GTEST_MESSAGE_AT_(where.file_name(), int(where.line()),
                      ("message box " + std::to_string(i + 1) + " read, but " + std::to_string(shown) + " shown").c_str(),
                      ::testing::TestPartResult::kNonFatalFailure);
    return none;
}

}

const ShownBox& ShownBoxes::operator[](Index index) const
{
    if (index.i >= size())
        return missingBox(index.i, size(), index.where);
    return std::vector<ShownBox>::operator[](index.i);
}

const ShownBox& ShownBoxes::back(std::source_location where) const
{
    if (empty())
        return missingBox(0, 0, where);
    return std::vector<ShownBox>::back();
}
