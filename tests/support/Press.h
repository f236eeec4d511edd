#pragma once
// Presses a control as a user does: the control must be there, shown and enabled (a disabled
// owner's input gate is no reason: the press reaches the gate, as the user's would), then it gets
// a left click: a line button on its face, an option or check box on its indicator (a click
// beside the text misses it), any other control in its middle. A control that cannot be pressed
// fails the test at the caller's line and is not clicked. For the widget test binaries.
#include "ui/LineButton.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <source_location>
#include <string>

inline bool Press(QWidget* control, std::source_location where = std::source_location::current())
{
    auto* line = qobject_cast<LineButton*>(control);
    auto* button = qobject_cast<QAbstractButton*>(control);
    const QString name = !control ? QStringLiteral("a control")
                         : line   ? line->caption()
                         : button && !button->text().isEmpty() ? button->text()
                                                               : control->objectName();
    const char* why = !control ? "it does not exist" : !control->isVisible() ? "it is not shown"
                    : !control->isEnabled()                                 ? "it is disabled"
                                                                            : nullptr;
    if (why) {
        GTEST_MESSAGE_AT_(where.file_name(), int(where.line()),
                          ("cannot press " + name.toStdString() + ": " + why).c_str(),
                          ::testing::TestPartResult::kNonFatalFailure);
        return false;
    }
    if (line)
        QTest::mouseClick(line->muButton(), Qt::LeftButton);
    else if (qobject_cast<QRadioButton*>(control) || qobject_cast<QCheckBox*>(control))
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, QPoint(7, control->height() / 2));
    else
        QTest::mouseClick(control, Qt::LeftButton);
    return true;
}

// The control of that object name in the window.
inline bool Press(QWidget* window, const QString& name, std::source_location where = std::source_location::current())
{
    QWidget* control = window ? window->findChild<QWidget*>(name) : nullptr;
    if (!control) {
        GTEST_MESSAGE_AT_(where.file_name(), int(where.line()),
                          ("cannot press " + name.toStdString() + ": the window has no such control").c_str(),
                          ::testing::TestPartResult::kNonFatalFailure);
        return false;
    }
    return Press(control, where);
}
