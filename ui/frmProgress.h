#pragma once
// The progress window that stands over the main window while a computation runs: a step
// text, two bars with a percent text for the first, and Cancel, the only channel from the
// user into the computation. While it shows, its owner is an input gate (not a Qt parent).
// It implements what the engine needs of it (EngineProgress).
//
// The bars move as often as the engine likes (bar 2 after every piece): each update records the
// value at once (and refuses a bad one at once), and the window draws what is recorded at most
// about 30 times a second when the engine lets events run, at every change of the step text, and
// when Cancel was pressed, so the stop question stands over the exact state. Reading a bar or the
// percent text through the accessors gives the recorded state.
#include "engine/EngineProgress.h"
#include "platform/gui/Form.h"
#include "platform/gui/Label.h"
#include "platform/gui/ProgressBar.h"
#include "ui/LineButton.h"

#include <QElapsedTimer>

class frmProgress : public Form, public EngineProgress {
    Q_OBJECT
public:
    frmProgress();

    void OpenWin(Form& owner);
    void CloseWin(Form& owner);
    // The members load the window (without showing it) when it is not loaded.
    void setProProgress1MaxValue(int32_t max);
    void setProProgress2MaxValue(int32_t max);
    void UpdateProgress1(int32_t value);    // records; a refused value throws VbError
    void UpdateProgress2(int32_t value);
    void DrawNow();                         // the recorded state into the controls, repainted
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
    void applyRecorded();                   // the recorded values into the controls
    static void prepareStopQuestion();

    bool cancel_ = false;
    // The bars as recorded (single precision, as a bar holds them), and what the controls lack.
    float value1_ = 0, value2_ = 0, max1_ = 0, max2_ = 0;
    bool changed1_ = false, changed2_ = false;
    QElapsedTimer lastDraw_;
    QPointer<QWidget> savedFocus_;
    QPointer<ProgressBar> bar1_, bar2_;
    QPointer<Label> nabi_, count_;
    QPointer<LineButton> cancelButton_;
};

// The one progress window of the program, created on first use.
frmProgress& gProgress();
