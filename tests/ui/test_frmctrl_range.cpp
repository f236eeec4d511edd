// Number boxes held in their range: the filter's clamp and sign flip, the range message with
// and without a field name, and a typed value outside the range.
#include "platform/core/MsgBox.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/ui/test_frmctrl_window.h"
#include "ui/cCtrls.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FrmCtrlRangeFilterTest, ClampsAndTurnsTheSignAtAZeroBound)
{
    struct Case {
        double min, max, value, expected;
    };
    const Case cases[] = {
        {1, 100, 150, 100}, {1, 100, 0, 1},      {1, 100, 50, 50},    {5, 5, 7, 5},
        {-100, 0, 30, -30}, {-100, 0, 300, -100}, {0, 999, -5, 5},    {-999, 0, 5, -5},
        {0, 100, -500, 100}, {0, 0, 3, 0},       {-100, 0, -30, -30},
    };
    cFrmCtrl ctrl;
    ImNumber box;
    int changes = 0;
    QObject::connect(&box, &ImEdit::Change, [&] { ++changes; });
    for (const Case& c : cases) {
        box.setMinValue(c.min);
        box.setMaxValue(c.max);
        box.setValue(c.value);
        changes = 0;
        ctrl.NumberRangeFilter(&box);
        EXPECT_EQ(c.expected, box.value()) << c.min << ".." << c.max << " value " << c.value;
        EXPECT_EQ(c.expected == c.value ? 0 : 1, changes);   // set once, never to a value in between
    }
}

class FrmCtrlRangeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override
    {
        form.load();
        form.ShowWithFocus(form.numQty);
    }
    void TearDown() override { form.unload(); }
    void Type(const QString& digits, Qt::Key finish)
    {
        form.numQty->selectAll();
        QTest::keyClicks(form.numQty, digits);
        QTest::keyClick(form.numQty, finish);
        Settle();
    }
    CtrlTestForm form;
};

TEST_F(FrmCtrlRangeTest, ATypedValueOutsideTheRangeIsClampedWithoutAMessageByDefault)
{
    Type(QStringLiteral("150"), Qt::Key_Return);
    EXPECT_EQ(100.0, form.numQty->value());
    EXPECT_EQ(form.txtBikou, QApplication::focusWidget());
    form.numQty->setFocus();
    Type(QStringLiteral("0"), Qt::Key_Tab);
    EXPECT_EQ(1.0, form.numQty->value());
}

TEST_F(FrmCtrlRangeTest, TheRangeMessageNamesTheFieldAndUsesTheDisplayFormat)
{
    cFrmCtrl& c = *form.ctrl;
    c.SetAllowRangeError(true);
    c.SetAllowCaptionColor(true);
    form.numQty->setMaxValue(10000);
    form.numQty->setDisplayFormat(QStringLiteral("#,##0"));
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("入力範囲エラー"), vbOK);
    Type(QStringLiteral("20000"), Qt::Key_Return);
    ASSERT_EQ(1u, boxes.shown().size());
    EXPECT_EQ(QStringLiteral("部数は[1]～[10,000]の範囲で入力して下さい。"), boxes.shown()[0].text);
    EXPECT_EQ(48, boxes.shown()[0].style);
    EXPECT_EQ(10000.0, form.numQty->value());
    EXPECT_EQ(form.txtBikou, QApplication::focusWidget());     // the box's own Enter still moves on

    // Without a field name; the box keeps the focus, with the error caption, when the user
    // leaves it for another control.
    form.numQty->setDataField(QStringLiteral("  "));
    form.numQty->setDisplayFormat(QString());
    form.numQty->setMaxValue(100);
    form.numQty->setFocus();
    Settle();
    boxes.expect(QStringLiteral("入力範囲エラー"), vbOK);
    form.numQty->selectAll();
    QTest::keyClicks(form.numQty, QStringLiteral("500"));
    form.txtName->setFocus(Qt::MouseFocusReason);
    Settle();
    ASSERT_EQ(2u, boxes.shown().size());
    EXPECT_EQ(QStringLiteral("[1]～[100]の範囲で値を入力して下さい。"), boxes.shown()[1].text);
    EXPECT_EQ(100.0, form.numQty->value());
    EXPECT_EQ(form.numQty, QApplication::focusWidget());
    EXPECT_EQ(0x0000FFu, ForeColor(form.labQty));
}

TEST_F(FrmCtrlRangeTest, WithoutFilterAndMessageTheBoxKeepsTheFocusAndItsValue)
{
    form.ctrl->SetAllowRangeFilter(false);
    form.numQty->setValue(42);
    Type(QStringLiteral("150"), Qt::Key_Return);
    EXPECT_EQ(42.0, form.numQty->value());
    EXPECT_EQ(form.numQty, QApplication::focusWidget());
}

}  // namespace
