// Focus movement with Enter and the arrow keys, in both directions and at both ends, with and
// without the form previewing keys; the hot keys; the top control; the computed tab order.
#include "platform/gui/TDBGrid.h"
#include "tests/ui/test_frmctrl_window.h"
#include "ui/cCtrls.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FrmCtrlKeysTest : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override
    {
        form.load();
        form.setKeyPreview(GetParam());
    }
    void TearDown() override { form.unload(); }

    // Presses a key on the focused control and lets the queued moves run.
    QWidget* Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, mods);
        Settle();
        return form.activeControl();
    }
    CtrlTestForm form;
};

// Each key moves the focus one step at most: input boxes with their own key lists move by
// themselves, combo boxes keep their arrows unless the form previews keys, control-array
// members raise no key events, and a command button gives the controller its Enter, which moves
// on without pressing the button.
TEST_P(FrmCtrlKeysTest, EachKeyMovesTheFocusOneStepAtMost)
{
    struct Step {
        QWidget* from;
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        QWidget* noPreview;
        QWidget* preview;
    };
    CtrlTestForm& f = form;
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier;
    const Step steps[] = {
        {f.txtName, Qt::Key_Return, none, f.cmbReport, f.cmbReport},
        {f.cmbReport, Qt::Key_Return, shift, f.cmbMode, f.cmbMode},      // Shift+Enter: forward too
        {f.cmbMode, Qt::Key_Down, none, f.cmbMode, f.chkFlag},
        {f.cmbMode, Qt::Key_Up, none, f.cmbMode, f.cmbReport},
        {f.chkFlag, Qt::Key_Enter, none, f.optDirect0, f.optDirect0},
        {f.chkFlag, Qt::Key_Down, none, f.optDirect0, f.optDirect0},
        {f.chkFlag, Qt::Key_Up, none, f.cmbMode, f.cmbMode},
        {f.chkFlag, Qt::Key_Down, shift, f.chkFlag, f.chkFlag},
        {f.chkFlag, Qt::Key_Up, shift, f.chkFlag, f.chkFlag},
        // Array members raise no key events; Qt's Tab leaves an option group at once.
        {f.optDirect0, Qt::Key_Down, none, f.optDirect0, f.numQty},
        {f.optDirect1, Qt::Key_Return, none, f.optDirect1, f.numQty},
        {f.numQty, Qt::Key_Down, none, f.txtBikou, f.txtBikou},
        {f.numQty, Qt::Key_Return, none, f.txtBikou, f.txtBikou},
        {f.numQty, Qt::Key_Up, none, f.optDirect1, f.optDirect1},
        {f.numQty, Qt::Key_Return, shift, f.optDirect1, f.optDirect1},
        {f.txtBikou, Qt::Key_Down, none, f.txtMemo, f.txtMemo},
        {f.txtBikou, Qt::Key_Return, shift, f.txtMemo, f.txtMemo},
        {f.txtBikou, Qt::Key_Up, none, f.numQty, f.numQty},
        {f.txtMemo, Qt::Key_Down, none, f.txtMemo, f.txtMemo},
        {f.butRun, Qt::Key_Return, none, f.lbutClose, f.lbutClose},     // a button: Enter moves on
        {f.txtName, Qt::Key_Up, none, f.lbutClose, f.lbutClose},        // the first: back to the last
    };
    int runs = 0;
    QObject::connect(form.butRun, &QPushButton::clicked, [&] { ++runs; });
    form.ShowWithFocus(form.txtName);
    for (const Step& s : steps) {
        s.from->setFocus(Qt::OtherFocusReason);
        Settle();
        ASSERT_EQ(s.from, form.activeControl());
        QWidget* expected = GetParam() ? s.preview : s.noPreview;
        QWidget* now = Press(s.key, s.mods);
        EXPECT_EQ(expected, now) << "from " << qPrintable(s.from->objectName()) << " key " << std::hex << s.key
                                 << " to " << qPrintable(now ? now->objectName() : QString());
    }
    EXPECT_EQ(0, runs);
    form.txtMemo->setFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(QStringLiteral("\n"), form.txtMemo->toPlainText());   // a multi-line box keeps Enter
}

// A number box that has a key list for a direction is left to move by itself, whichever keys
// its list holds; without one the controller moves the focus.
TEST_P(FrmCtrlKeysTest, ABoxWithAKeyListForTheDirectionIsLeftToMoveItself)
{
    struct Case {
        const char *next, *prev;
        Qt::Key key;
        bool toNext;   // where the focus goes: the next control, the previous one, or nowhere
        bool moves;
    };
    const Case cases[] = {
        {"{ENTER}", "", Qt::Key_Down, true, false},    // the box's list lacks Down and the controller leaves it
        {"{ENTER}", "", Qt::Key_Return, true, true},   // the box moves itself
        {"{ENTER}", "", Qt::Key_Up, false, true},      // no list back: the controller moves
        {"", "", Qt::Key_Down, true, true},
        {"", "", Qt::Key_Return, true, true},
        {" ", "{UP}", Qt::Key_Down, true, true},        // a list of blanks is none
        {"", "{UP}", Qt::Key_Up, false, true},
    };
    form.ShowWithFocus(form.numQty);
    for (const Case& c : cases) {
        form.numQty->Key.NextCtrl = QString::fromLatin1(c.next);
        form.numQty->Key.PrevCtrl = QString::fromLatin1(c.prev);
        form.numQty->setFocus(Qt::OtherFocusReason);
        Settle();
        ASSERT_EQ(form.numQty, form.activeControl());
        QWidget* expected = !c.moves ? static_cast<QWidget*>(form.numQty)
                            : c.toNext ? static_cast<QWidget*>(form.txtBikou)
                                       : static_cast<QWidget*>(form.optDirect1);
        QWidget* now = Press(c.key);
        EXPECT_EQ(expected, now) << "next " << c.next << " prev " << c.prev << " key " << std::hex << c.key << " to "
                                 << qPrintable(now ? now->objectName() : QString());
    }
}

TEST_P(FrmCtrlKeysTest, EnterOnTheLastControlWrapsToTheFirstAndSkipsDisabledOnes)
{
    form.txtMemo->setEnabled(false);
    form.butRun->setEnabled(false);
    form.lbutClose->setEnabled(false);
    form.cmbReport->setEnabled(false);
    form.ShowWithFocus(form.txtBikou);
    EXPECT_EQ(form.txtName, Press(Qt::Key_Return));
    EXPECT_EQ(form.cmbMode, Press(Qt::Key_Return));
}

TEST_P(FrmCtrlKeysTest, NothingMovesWithoutEnterKeyMove)
{
    form.ctrl->EnterKeyMove = false;
    form.ShowWithFocus(form.txtName);
    EXPECT_EQ(form.txtName, Press(Qt::Key_Return));
    EXPECT_EQ(form.txtName, Press(Qt::Key_Down));
    form.chkFlag->setFocus();
    EXPECT_EQ(form.chkFlag, Press(Qt::Key_Up));
    form.txtBikou->setFocus();
    EXPECT_EQ(form.txtBikou, Press(Qt::Key_Down));
    form.txtName->setText(QStringLiteral("残る"));
    EXPECT_EQ(form.txtBikou, Press(Qt::Key_F4));
    EXPECT_EQ(QStringLiteral("残る"), form.txtName->text());
}

// F4 clears every control only while the form previews keys, and goes no further; another
// DefaultKey restores the defaults captured at registration.
TEST_P(FrmCtrlKeysTest, HotKeysClearAndRestore)
{
    const bool preview = GetParam();
    form.ShowWithFocus(form.txtBikou);
    int boxKeys = 0;
    QObject::connect(form.txtBikou, &ImEdit::KeyDown, [&](int&, int&) { ++boxKeys; });
    form.txtName->setText(QStringLiteral("山田"));
    form.chkFlag->setChecked(true);
    form.txtBikou->setText(QStringLiteral("備考"));
    Press(Qt::Key_F4);
    EXPECT_EQ(preview ? QString() : QStringLiteral("山田"), form.txtName->text());
    EXPECT_EQ(!preview, form.chkFlag->isChecked());
    EXPECT_EQ(preview ? 0 : 1, boxKeys);

    form.ctrl->DefaultKey = 114;                     // F3
    form.txtName->setText(QStringLiteral("鈴木"));
    form.numQty->setValue(7);
    Press(Qt::Key_F3);
    EXPECT_EQ(preview ? QString() : QStringLiteral("鈴木"), form.txtName->text());   // the default was ""
    EXPECT_EQ(preview ? 1.0 : 7.0, form.numQty->value());
    if (preview) {
        EXPECT_FALSE(form.ctrl->DataChanged());
    }
}

INSTANTIATE_TEST_SUITE_P(KeyPreview, FrmCtrlKeysTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Preview" : "NoPreview"; });

class FrmCtrlFocusTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override { form.load(); }
    void TearDown() override { form.unload(); }
    CtrlTestForm form;
};

TEST_F(FrmCtrlFocusTest, TabFocusWrapsByTabIndex)
{
    form.ShowWithFocus(form.lbutClose);
    const std::pair<int, QWidget*> steps[] = {
        {0, form.txtName}, {1, form.lbutClose}, {1, form.butRun}, {2, form.txtName}, {3, form.lbutClose},
    };
    for (auto [direction, expected] : steps) {
        form.ctrl->TabFocus(direction);
        EXPECT_EQ(expected, form.activeControl()) << direction;
    }
}

TEST_F(FrmCtrlFocusTest, TopControlIsTheFirstEnabledTabStop)
{
    form.ShowWithFocus(form.butRun);
    form.ctrl->SetForcusTopControl();
    EXPECT_EQ(form.txtName, QApplication::focusWidget());
    form.txtName->setEnabled(false);
    form.ctrl->ControlItem(form.cmbReport)->SetStyle(2);   // no Tab stop
    form.butRun->setFocus();
    form.ctrl->SetForcusTopControl();
    EXPECT_EQ(form.cmbMode, QApplication::focusWidget());
}

// The grid keeps its own keys even while the form previews them, and is no wrapped control.
TEST(FrmCtrlGridTest, TheGridKeepsItsKeys)
{
    SetupCtrlTestGui();
    CtrlTestForm form;
    QPointer<TDBGrid> grid;
    form.beforeLoad = [&](CtrlTestForm& f) {
        grid = new TDBGrid(f.loadedWindow());
        grid->setObjectName("TDBList");
        grid->setGeometry(10, 300, 80, 60);
    };
    form.setKeyPreview(true);
    form.load();
    EXPECT_EQ(nullptr, form.ctrl->ControlItem(grid));
    form.ShowWithFocus(grid);
    ASSERT_EQ(grid, form.activeControl());
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Up}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        Settle();
        EXPECT_EQ(grid, form.activeControl()) << std::hex << key;
    }
    form.unload();
}

}  // namespace
