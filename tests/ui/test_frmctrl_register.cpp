// Registration of a form's controls, caption linking by name, the collection and its keys,
// stand-alone captions, and the end of a controller.
#include "platform/gui/Handler.h"
#include "tests/ui/test_frmctrl_window.h"
#include "ui/FormControls.h"
#include "ui/cCtrls.h"

#include <gtest/gtest.h>

namespace {

class FrmCtrlRegisterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { SetupCtrlTestGui(); }
    void SetUp() override { form.load(); }
    CtrlTestForm form;
};

TEST_F(FrmCtrlRegisterTest, RegistersEverySupportedControlInFormOrderUnderItsKey)
{
    cFrmCtrl& c = *form.ctrl;
    QStringList keys;
    for (cCtrls* w : c)
        keys << ControlKey(w->Control());
    EXPECT_EQ(QStringList({"txtName", "cmbReport", "cmbMode", "chkFlag", "optDirect_0", "optDirect_1", "numQty",
                           "txtBikou", "txtMemo", "butRun"}),
              keys);
    EXPECT_EQ(10, c.Count());
    EXPECT_EQ(form.txtName, c.Item(0)->Control());
    EXPECT_EQ(form.cmbMode, c.Item("cmbmode")->Control());     // keys ignore case
    EXPECT_EQ(c.Item("optDirect_1"), c.ControlItem(form.optDirect1));
    EXPECT_EQ(form.numQty, c.ControlItem(form.numQty)->ImControl());
    EXPECT_EQ(nullptr, c.ControlItem(form.labName));            // labels are captions, never controls
    EXPECT_THROW(c.Item(10), VbError);
    EXPECT_THROW(c.Item("labName"), VbError);
}

TEST_F(FrmCtrlRegisterTest, LinksCaptionsByTheNameAfterThePrefix)
{
    cFrmCtrl& c = *form.ctrl;
    EXPECT_EQ(form.labName, c.ControlItem(form.txtName)->Caption());
    EXPECT_EQ(form.labReport, c.ControlItem(form.cmbReport)->Caption());
    EXPECT_EQ(form.labQty, c.ControlItem(form.numQty)->Caption());
    EXPECT_EQ(form.labBikou, c.ControlItem(form.txtBikou)->Caption());
    // One label for the array: the member registered first gets it.
    EXPECT_EQ(form.labDirect, c.ControlItem(form.optDirect0)->Caption());
    EXPECT_EQ(nullptr, c.ControlItem(form.optDirect1)->Caption());
    EXPECT_EQ(nullptr, c.ControlItem(form.butRun)->Caption());
}
}  // namespace
