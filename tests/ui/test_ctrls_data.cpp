// The wrappers' data operations per control kind (clear, restore the default, capture the
// current value), change tracking from user edits, and the controller's data calls.
#include "tests/ui/test_frmctrl_window.h"
#include "ui/cCtrls.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class CtrlsDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override
    {
        // The design state the controller captures as defaults.
        form.beforeLoad = [](CtrlTestForm& f) {
            f.txtName->setText(QStringLiteral("初期"));
            f.cmbReport->setCurrentIndex(1);
            f.cmbMode->setCurrentIndex(2);
            f.chkFlag->setChecked(true);
            f.optDirect1->setChecked(true);
            f.numQty->setValue(5);
            f.txtBikou->setText(QStringLiteral("既定"));
            f.txtMemo->setPlainText(QStringLiteral("一行目\n二行目"));
        };
        form.load();
        form.ctrl->FlagClear();
    }
    void TearDown() override { form.unload(); }
    cCtrls* W(QWidget* control) { return form.ctrl->ControlItem(control); }
    CtrlTestForm form;
};

TEST_F(CtrlsDataTest, ClearEmptiesEveryKindButADropDownListAndDefaultRestoresAll)
{
    cFrmCtrl& c = *form.ctrl;
    EXPECT_EQ(Variant(QStringLiteral("画面印刷")), W(form.cmbReport)->DefaultData);
    EXPECT_EQ(Variant(int16_t(1)), W(form.chkFlag)->DefaultData);
    EXPECT_EQ(Variant(true), W(form.optDirect1)->DefaultData);
    EXPECT_EQ(Variant(5.0), W(form.numQty)->DefaultData);

    c.DataClear();
    EXPECT_EQ(QString(), form.txtName->text());
    EXPECT_EQ(QString(), form.cmbReport->currentText());
    EXPECT_EQ(-1, form.cmbReport->currentIndex());
    EXPECT_EQ(QStringLiteral("プレビュー"), form.cmbMode->currentText());   // a drop-down list keeps its entry
    EXPECT_FALSE(form.chkFlag->isChecked());
    EXPECT_FALSE(form.optDirect0->isChecked());
    EXPECT_FALSE(form.optDirect1->isChecked());                           // even the checked one of its group
    EXPECT_EQ(0.0, form.numQty->value());
    EXPECT_EQ(QString(), form.txtBikou->text());
    EXPECT_EQ(QString(), form.txtMemo->toPlainText());
    EXPECT_TRUE(c.DataChanged());                                         // clearing changed them

    form.cmbMode->setCurrentIndex(0);
    c.DataDefault();
    EXPECT_EQ(QStringLiteral("初期"), form.txtName->text());
    EXPECT_EQ(1, form.cmbReport->currentIndex());
    EXPECT_EQ(0, form.cmbMode->currentIndex());                          // not written back either
    EXPECT_TRUE(form.chkFlag->isChecked());
    EXPECT_TRUE(form.optDirect1->isChecked());
    EXPECT_EQ(5.0, form.numQty->value());
    EXPECT_EQ(QStringLiteral("既定"), form.txtBikou->text());
    EXPECT_EQ(QStringLiteral("一行目\n二行目"), form.txtMemo->toPlainText());
    EXPECT_FALSE(c.DataChanged());

    // The current values become the defaults.
    form.txtName->setText(QStringLiteral("新"));
    form.numQty->setValue(8);
    c.GetDataDefault();
    c.DataClear();
    c.DataDefault();
    EXPECT_EQ(QStringLiteral("新"), form.txtName->text());
    EXPECT_EQ(8.0, form.numQty->value());
}

TEST_F(CtrlsDataTest, ADefaultAKindCannotTakeIsNotWrittenButTheFlagIsCleared)
{
    struct Case {
        QWidget* control;
        Variant value;
    };
    const Case cases[] = {
        {form.chkFlag, Variant("はい")}, {form.chkFlag, Variant(int16_t(3))}, {form.chkFlag, Variant(-1.0)},
        {form.numQty, Variant("abc")},   {form.numQty, Variant::null()},      {form.txtName, Variant::null()},
        {form.cmbReport, Variant::null()},
    };
    form.chkFlag->setCheckState(Qt::PartiallyChecked);
    form.numQty->setValue(9);
    form.txtName->setText(QStringLiteral("残す"));
    form.cmbReport->setCurrentIndex(0);
    for (const Case& k : cases) {
        cCtrls* w = W(k.control);
        w->DefaultData = k.value;
        w->Changed = true;
        w->DataDefault();
        EXPECT_FALSE(w->Changed);
    }
    EXPECT_EQ(Qt::PartiallyChecked, form.chkFlag->checkState());
    EXPECT_EQ(9.0, form.numQty->value());
    EXPECT_EQ(QStringLiteral("残す"), form.txtName->text());
    EXPECT_EQ(0, form.cmbReport->currentIndex());
    // Numbers as text are numbers; 2 is the grayed state.
    W(form.chkFlag)->DefaultData = Variant("2");
    W(form.chkFlag)->DataDefault();
    EXPECT_EQ(Qt::PartiallyChecked, form.chkFlag->checkState());
    W(form.numQty)->DefaultData = Variant(" 12 ");
    W(form.numQty)->DataDefault();
    EXPECT_EQ(12.0, form.numQty->value());
}

TEST_F(CtrlsDataTest, UserEditsSetTheChangedFlagOfTheirControlOnly)
{
    cFrmCtrl& c = *form.ctrl;
    form.ShowWithFocus(form.txtName);
    EXPECT_FALSE(c.DataChanged());
    QTest::keyClicks(form.txtName, QStringLiteral("x"));
    EXPECT_TRUE(W(form.txtName)->Changed);
    EXPECT_FALSE(W(form.chkFlag)->Changed);
    EXPECT_TRUE(c.DataChanged());
    c.FlagClear();
    EXPECT_FALSE(c.DataChanged());

    struct Edit {
        QWidget* control;
        std::function<void()> edit;
    };
    const Edit edits[] = {
        {form.cmbReport, [&] { QTest::keyClicks(form.cmbReport, QStringLiteral("z")); }},
        {form.cmbMode, [&] { form.cmbMode->setFocus(); QTest::keyClick(form.cmbMode, Qt::Key_Down); }},
        {form.chkFlag, [&] { QTest::mouseClick(form.chkFlag, Qt::LeftButton); }},
        {form.numQty, [&] { form.numQty->setFocus(); QTest::keyClicks(form.numQty, QStringLiteral("7")); form.txtName->setFocus(); }},
        {form.txtBikou, [&] { QTest::keyClicks(form.txtBikou, QStringLiteral("a")); }},
        {form.txtMemo, [&] { QTest::keyClicks(form.txtMemo, QStringLiteral("b")); }},
    };
    for (const Edit& e : edits) {
        c.FlagClear();
        e.edit();
        for (cCtrls* w : c)
            EXPECT_EQ(w->Control() == e.control, w->Changed) << qPrintable(w->Control()->objectName())
                                                           << " after editing " << qPrintable(e.control->objectName());
    }
    // Members of a control array raise no events: no change flag.
    c.FlagClear();
    QTest::mouseClick(form.optDirect0, Qt::LeftButton, {}, QPoint(8, 12));
    EXPECT_TRUE(form.optDirect0->isChecked());
    EXPECT_FALSE(c.DataChanged());
}

TEST(FrmCtrlLifeTest, AnEmptyControllerHasNoChangesAndEndsTwiceWithoutHarm)
{
    auto c = std::make_unique<cFrmCtrl>();
    EXPECT_EQ(0, c->Count());
    EXPECT_FALSE(c->DataChanged());
    c->TerminateControls();
    c->TerminateControls();
    EXPECT_EQ(nullptr, c->CaptionFont(1));
    c.reset();
}

}  // namespace
