#pragma once
// The progress window that stands over the main window while a computation runs: a step
// text, two bars with a percent text for the first, and Cancel, the only channel from the
// user into the computation. While it shows, its owner is an input gate (not a Qt parent).
// It implements what the engine needs of it (EngineProgress).
#include "engine/EngineProgress.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/ProgressBar.h"
#include "ui/LineButton.h"

class frmProgress : public Form, public EngineProgress {
    Q_OBJECT
public:
    frmProgress();

    void OpenWin(Form& owner);
    void CloseWin(Form& owner);
    // The members load the window (without showing it) when it is not loaded.
    void setProProgress1MaxValue(int32_t max);
    void setProProgress2MaxValue(int32_t max);
    void UpdateProgress1(int32_t value);    // repaints at once; a refused value throws VbError
    void UpdateProgress2(int32_t value);
    bool proCancel() const { return cancel_; }
    void setProCancel(bool on) { cancel_ = on; }
    Label* labNabi();                       // the step text

    ProgressBar* ProgressBar1();
    ProgressBar* ProgressBar2();
    Label* labProgCount();
    LineButton* lbutCancel();

    // EngineProgress
    void setStepText(const QString& text) override;
    void setProgress1Max(int32_t max) override { setProProgress1MaxValue(max); }
    void setProgress2Max(int32_t max) override { setProProgress2MaxValue(max); }
    void updateProgress1(int32_t value) override { UpdateProgress1(value); }
    void updateProgress2(int32_t value) override { UpdateProgress2(value); }
    bool cancel() const override { return cancel_; }
    void setCancel(bool value) override { cancel_ = value; }
    void pumpEvents() override;

protected:
    void createControls(FormWindow* w) override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    void lbutCancel_Click();

    bool cancel_ = false;
    QPointer<QWidget> savedFocus_;
    bool hadFocus_ = false;
    QPointer<ProgressBar> bar1_, bar2_;
    QPointer<Label> nabi_, count_;
    QPointer<LineButton> cancelButton_;
};

// The one progress window of the program, created on first use.
frmProgress& gProgress();
