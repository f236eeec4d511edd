#pragma once
// The modal colour palette: 24 fixed swatches chosen by mouse or keys. The caller sets Color,
// shows the dialog modally and, when State is True, takes Color. The swatch colours also serve
// as default colours, read without showing the dialog.
#include "ui/FormHandler.h"
#include "ui/LineButton.h"

#include <QLabel>
#include <array>
#include <cstdint>

class frmPallete : public HandledForm {
    Q_OBJECT
public:
    frmPallete();

    uint32_t Color() const { return color_; }
    void setColor(uint32_t color) { color_ = color; }
    bool State() const { return state_; }
    int selectionIndex() const { return selection_; }

    // These load the window (without showing it) when it is not loaded.
    QWidget* col(int index);                      // a swatch; its BackColor is its colour
    uint32_t colBackColor(int index);
    QLabel* labBack(int index);                   // the frame around a swatch
    LineButton* lbutOK();
    LineButton* lbutCancel();

    // The fixed colours, &HBBGGRR, swatch i in column i \ 3 and row i Mod 3.
    static const std::array<uint32_t, 24> kSwatchColors;

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
    void select(int index, uint32_t previousFrameColor);
    void col_GotFocus(int index);
    void col_KeyDown(int index, int& keyCode, int& shift);
    void col_Click(int index);
    void col_DblClick(int index);
    void labBack_Click(int index);
    void labBack_DblClick(int index);
    void lbutOK_Click();
    void lbutCancel_Click();

    uint32_t color_ = 0;
    bool state_ = false;
    int16_t selection_ = 0;
    std::array<QPointer<QWidget>, 24> swatches_;
    std::array<QPointer<QLabel>, 24> frames_;
    QPointer<LineButton> ok_, cancel_;
};

// The one palette of the program, created on first use.
frmPallete& gPallete();
