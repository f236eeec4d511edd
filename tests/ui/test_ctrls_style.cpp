// Styles, colours and fonts: the standard scheme applied at once, the read-only and no-Tab
// styles per kind, style 0 back to the captured state, stand-alone captions, focus colouring
// of captions (a check box's only with its Tab stop), where each kind takes the colours of a
// style from, shared font objects, and the window as it looks.
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "tests/ui/test_frmctrl_window.h"
#include "ui/FormControls.h"
#include "ui/NewFrmCtrl.h"
#include "ui/cCtrls.h"

#include <QApplication>
#include <QTest>
#include <tuple>
#include <gtest/gtest.h>

namespace {

class CtrlsStyleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override { form.load(); }
    void TearDown() override { form.unload(); }
    cCtrls* W(QWidget* control) { return form.ctrl->ControlItem(control); }
    CtrlTestForm form;
};

TEST_F(CtrlsStyleTest, TheFactoryShowsEveryControlInStyleOne)
{
    const uint32_t formBack = BackColor(form.loadedWindow());
    for (cCtrls* w : *form.ctrl) {
        QWidget* c = w->Control();
        SCOPED_TRACE(qPrintable(c->objectName()));
        EXPECT_EQ(1, w->Style());
        EXPECT_TRUE(c->isEnabled());
        EXPECT_TRUE(TabStop(c) || w->ControlKind() == cCtrls::kOptionButton);   // Qt keeps one per group
        if (w->ControlKind() == cCtrls::kCheckBox || w->ControlKind() == cCtrls::kOptionButton) {
            EXPECT_EQ(formBack, BackColor(c));           // check boxes take the form's colours
        } else if (w->ControlKind() != cCtrls::kCommandButton) {
            EXPECT_EQ(0xFFFFFFu, BackColor(c));
            EXPECT_EQ(0u, ForeColor(c));
            EXPECT_EQ(QColor(Qt::white), c->palette().color(QPalette::Base));
        }
    }
    const cFrmCtrl& c = *form.ctrl;
    const uint32_t scheme[5][4] = {{0x80000005, 0x80000008, 0x8000000F, 0x80000008},
                                   {0xFFFFFF, 0x000000, 0x8000000F, 0x000000},
                                   {0xC0C0C0, 0x000000, 0x8000000F, 0x00FF00},
                                   {0x808080, 0xFFFFFF, 0x8000000F, 0x0000FF},
                                   {0xC0FFFF, 0x000000, 0, 0}};
    for (int s = 0; s < 5; ++s) {
        EXPECT_EQ(scheme[s][0], c.ControlBackColor(s)) << s;
        EXPECT_EQ(scheme[s][1], c.ControlForeColor(s)) << s;
        if (s < 4) {
            EXPECT_EQ(scheme[s][2], c.CaptionBackColor(s)) << s;
            EXPECT_EQ(scheme[s][3], c.CaptionForeColor(s)) << s;
        }
    }
    EXPECT_THROW(c.ControlBackColor(5), std::exception);
    EXPECT_THROW(c.CaptionForeColor(4), std::exception);
    EXPECT_EQ(c.CaptionFontFocus.get(), c.CaptionFont(2));
    EXPECT_EQ(c.CaptionFontFocus.get(), c.CaptionFont(3));
    for (int s : {0, 1, 4})
        EXPECT_EQ(c.CaptionFontNormal.get(), c.CaptionFont(s));
    EXPECT_EQ(10.0, c.CaptionFontNormal->Size());
    EXPECT_EQ(9.0, c.ButtonFontNormal->Size());
}

TEST_F(CtrlsStyleTest, ReadOnlyLocksBoxesButDisablesButtons)
{
    form.ShowWithFocus(form.txtName);
    for (QWidget* c : {(QWidget*)form.txtName, (QWidget*)form.cmbReport, (QWidget*)form.cmbMode,
                       (QWidget*)form.chkFlag, (QWidget*)form.numQty, (QWidget*)form.txtBikou})
        W(c)->SetStyle(3);
    EXPECT_TRUE(form.txtName->isEnabled());
    EXPECT_TRUE(form.txtName->isReadOnly());
    EXPECT_FALSE(TabStop(form.txtName));
    EXPECT_EQ(0x808080u, BackColor(form.txtName));
    EXPECT_EQ(0xFFFFFFu, ForeColor(form.txtName));
    EXPECT_TRUE(form.numQty->isReadOnly());
    EXPECT_EQ(0, form.numQty->highlightText());
    EXPECT_FALSE(form.chkFlag->isEnabled());
    EXPECT_FALSE(TabStop(form.chkFlag));

    // A locked combo box keeps its text: typing, the arrows and the wheel change nothing.
    form.cmbReport->setFocus();
    QTest::keyClicks(form.cmbReport, QStringLiteral("abc"));
    QTest::keyClick(form.cmbReport, Qt::Key_Down);
    EXPECT_EQ(QStringLiteral("(標準プリンタ設定)"), form.cmbReport->currentText());
    form.cmbMode->setFocus();
    QTest::keyClick(form.cmbMode, Qt::Key_Down);
    EXPECT_EQ(0, form.cmbMode->currentIndex());
    EXPECT_TRUE(form.cmbMode->isEnabled());

    // Style 2: normal, without a Tab stop.
    W(form.txtName)->SetStyle(2);
    EXPECT_FALSE(form.txtName->isReadOnly());
    EXPECT_FALSE(TabStop(form.txtName));
    EXPECT_EQ(0xC0C0C0u, BackColor(form.txtName));
    W(form.cmbMode)->SetStyle(4);
    QTest::keyClick(form.cmbMode, Qt::Key_Down);
    EXPECT_EQ(1, form.cmbMode->currentIndex());
    EXPECT_EQ(0xC0FFFFu, BackColor(form.cmbMode));
}

// A command button keeps its own colours whatever the style; a check box takes them by the
// check box colour mode: 2 the style's, 1 the form's, 0 the normal caption's.
TEST_F(CtrlsStyleTest, EachKindTakesTheColoursOfAStyleFromItsOwnSource)
{
    form.ShowWithFocus(form.txtName);
    const uint32_t buttonBack = BackColor(form.butRun);
    W(form.butRun)->SetStyle(3);
    EXPECT_EQ(buttonBack, BackColor(form.butRun));

    const uint32_t formBack = BackColor(form.loadedWindow()), formFore = ForeColor(form.loadedWindow());
    struct Case {
        int32_t mode;
        uint32_t back, fore;
    };
    const Case cases[] = {{2, 0x808080, 0xFFFFFF}, {1, formBack, formFore}, {0, 0x8000000F, 0x000000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SetBackColor(form.chkFlag, 0x123456);
        SetForeColor(form.chkFlag, 0x654321);
        form.ctrl->SetFormCheckBoxColor(c.mode);
        W(form.chkFlag)->SetStyle(3);
        EXPECT_EQ(c.back, BackColor(form.chkFlag));
        EXPECT_EQ(c.fore, ForeColor(form.chkFlag));
    }
}

// A check box colours its caption on focus only while it has its Tab stop; a text box also
// without one.
TEST_F(CtrlsStyleTest, ACheckBoxWithoutItsTabStopLeavesItsCaptionAsItIsOnFocus)
{
    form.ShowWithFocus(form.butRun);
    form.ctrl->SetAllowCaptionColor(true);
    W(form.chkFlag)->SetStyle(2);
    W(form.txtName)->SetStyle(2);
    for (auto [control, caption, coloured] : {std::tuple{(QWidget*)form.chkFlag, form.labFlag.data(), false},
                                              std::tuple{(QWidget*)form.txtName, form.labName.data(), true}}) {
        SCOPED_TRACE(qPrintable(control->objectName()));
        const uint32_t before = ForeColor(caption);
        control->setFocus();
        Settle();
        ASSERT_EQ(control, QApplication::focusWidget());
        EXPECT_EQ(coloured ? 0x00FF00u : before, ForeColor(caption));
    }
}

TEST_F(CtrlsStyleTest, StyleZeroRestoresTheCapturedState)
{
    CtrlTestForm f;
    f.beforeLoad = [](CtrlTestForm& t) {
        t.txtName->setReadOnly(true);
        t.txtName->setFocusPolicy(Qt::ClickFocus);
        SetBackColor(t.txtName, 0x00FFFF);
        t.chkFlag->setEnabled(false);
        t.numQty->setReadOnly(true);
    };
    f.load();
    cCtrls* name = f.ctrl->ControlItem(f.txtName);
    EXPECT_FALSE(f.txtName->isReadOnly());                // style 1 after the factory
    EXPECT_TRUE(f.chkFlag->isEnabled());
    f.ctrl->FormControlsStyle(0);
    EXPECT_EQ(0, name->Style());
    EXPECT_TRUE(f.txtName->isReadOnly());
    EXPECT_FALSE(TabStop(f.txtName));
    EXPECT_EQ(0x00FFFFu, BackColor(f.txtName));
    EXPECT_FALSE(f.chkFlag->isEnabled());
    EXPECT_TRUE(f.numQty->isReadOnly());
    // A default style other than 0 stands in for 0.
    f.ctrl->ControlsDefaultStyle(QStringLiteral("TextBox"), 3);
    f.ctrl->FormControlsStyle(0);
    EXPECT_EQ(0x808080u, BackColor(f.txtName));
    EXPECT_EQ(0x808080u, BackColor(f.txtMemo));
    EXPECT_TRUE(f.numQty->isReadOnly());                  // an imNumber is no TextBox: its own state
    f.unload();
}

TEST_F(CtrlsStyleTest, StandAloneCaptionsComeOnlyFromRestCaptionControl)
{
    cFrmCtrl& c = *form.ctrl;
    EXPECT_TRUE(c.FormCaptions().isEmpty());
    c.RestCaptionControl();
    EXPECT_EQ(QList<QLabel*>({form.labTitle}), c.FormCaptions());
    c.RestCaptionControl();                                // filed once
    EXPECT_EQ(1, c.FormCaptions().size());
    c.SetCaptionBackVisible(false);
    EXPECT_EQ(0, BackStyle(form.labTitle));
    EXPECT_EQ(0, BackStyle(form.labName));
    c.SetCaptionBackVisible(true);
    EXPECT_EQ(1, BackStyle(form.labTitle));
    c.FormCaptionsColor(1);
    EXPECT_EQ(0x8000000Fu, BackColor(form.labTitle));
    EXPECT_EQ(0u, ForeColor(form.labTitle));
    const uint32_t nameFore = ForeColor(form.labName);
    c.FormCaptionsColor(2);                                // linked captions: only with AllowCaptionColor
    EXPECT_EQ(0x00FF00u, ForeColor(form.labTitle));
    EXPECT_EQ(nameFore, ForeColor(form.labName));
    EXPECT_THROW(c.FormCaptionsColor(4), std::exception);
}

// With AllowCaptionColor the caption of the focused control takes style 2 (green, the focus
// font), the one left behind style 1; the font objects stay shared.
TEST_F(CtrlsStyleTest, FocusColoursTheCaptionWhenAllowed)
{
    cFrmCtrl& c = *form.ctrl;
    form.ShowWithFocus(form.butRun);
    EXPECT_EQ(ForeColor(form.labName), ForeColor(form.labReport));   // not allowed: nothing happens
    form.txtName->setFocus();
    Settle();
    EXPECT_NE(0x00FF00u, ForeColor(form.labName));

    c.SetAllowCaptionColor(true);
    c.SetAllowButtonFont(true);
    c.ButtonFontFocus->SetSize(11);
    form.butRun->setFocus();
    Settle();
    EXPECT_EQ(11, form.butRun->font().pointSizeF());
    form.txtName->setFocus();
    Settle();
    EXPECT_EQ(0x00FF00u, ForeColor(form.labName));
    EXPECT_EQ(0x8000000Fu, BackColor(form.labName));
    EXPECT_EQ(StdFont::Of(form.labName), c.CaptionFontFocus.get());
    EXPECT_TRUE(form.labName->font().bold());
    EXPECT_EQ(9, form.butRun->font().pointSizeF());                  // the normal button font again
    c.CaptionFontFocus->SetSize(12);                                  // reaches the label at once
    EXPECT_EQ(12, form.labName->font().pointSizeF());

    QTest::keyClick(form.txtName, Qt::Key_Return);
    Settle();
    ASSERT_EQ(form.cmbReport, QApplication::focusWidget());
    EXPECT_EQ(0u, ForeColor(form.labName));
    EXPECT_EQ(10, form.labName->font().pointSizeF());
    EXPECT_EQ(0x00FF00u, ForeColor(form.labReport));

    for (QWidget* w : {(QWidget*)form.chkFlag, (QWidget*)form.numQty, (QWidget*)form.txtBikou}) {
        w->setFocus();
        Settle();
        EXPECT_EQ(0x00FF00u, ForeColor(c.ControlItem(w)->Caption())) << qPrintable(w->objectName());
    }
    c.ControlItem(form.txtBikou)->ErrorCaption();
    EXPECT_EQ(0x0000FFu, ForeColor(form.labBikou));
    // Array members raise no focus events: their shared caption stays as it is.
    const uint32_t direct = ForeColor(form.labDirect);
    form.optDirect0->setFocus();
    Settle();
    EXPECT_EQ(direct, ForeColor(form.labDirect));

    // A caption click focuses its control when asked to, even without a Tab stop, but not a
    // disabled one.
    c.SetCaptionClickSetFocus(true);
    c.ControlItem(form.txtName)->SetStyle(2);
    QTest::mouseClick(form.labName, Qt::LeftButton);
    EXPECT_EQ(form.txtName, QApplication::focusWidget());
    form.cmbMode->setEnabled(false);
    QTest::mouseClick(form.labMode, Qt::LeftButton);
    EXPECT_EQ(form.txtName, QApplication::focusWidget());
}

TEST_F(CtrlsStyleTest, Screenshot)
{
    cFrmCtrl& c = *form.ctrl;
    c.SetAllowCaptionColor(true);
    c.RestCaptionControl();
    c.SetCaptionBackVisible(true);
    c.FormCaptionsColor(1);
    c.ControlItem(form.cmbReport)->SetStyle(3);
    c.ControlItem(form.txtBikou)->SetStyle(4);
    form.txtName->setText(QStringLiteral("山田太郎"));
    form.txtBikou->setText(QStringLiteral("全角の備考"));
    form.txtMemo->setPlainText(QStringLiteral("一行目のメモ\n二行目のメモ"));
    form.chkFlag->setChecked(true);
    form.optDirect1->setChecked(true);
    form.ShowWithFocus(form.numQty);
    const QImage img = SaveCtrlScreenshot(form.loadedWindow(), QStringLiteral("frmctrl_window"));
    EXPECT_EQ(form.loadedWindow()->size(), img.size());
    // The focused box's caption is green, the read-only combo box grey.
    const QPoint quantity = form.labQty->geometry().center();
    bool green = false;
    for (int x = form.labQty->x(); x < form.labQty->geometry().right(); ++x)
        green = green || (img.pixel(x, quantity.y()) & 0xFFFFFF) == 0x00FF00;
    EXPECT_TRUE(green);
    EXPECT_EQ(0x808080u, img.pixel(form.cmbReport->geometry().right() - 40, form.cmbReport->geometry().center().y()) & 0xFFFFFF);
}
}  // namespace
