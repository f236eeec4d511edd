#pragma once
// The action button of every window: an inner push button (muButton) above a strip of 14
// horizontal lines of decreasing length, a brightness ramp of one base colour (LineColor) that
// marks the button's role. It forwards the inner button's events under the same names; Click
// also comes from a click on the strip and from Enter or Esc handed to it as the window's
// default or cancel button. It is never a default or auto-default push button itself.
#include "platform/gui/Controls.h"

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>

class QPushButton;

class LineButton : public QWidget, public AccessKeyTarget {
    Q_OBJECT
    Q_PROPERTY(uint LineColor READ lineColor WRITE setLineColor)

public:
    explicit LineButton(QWidget* parent = nullptr, const QString& caption = QString());

    QPushButton* muButton() const { return button_; }

    // Properties.
    int appearance() const { return appearance_; }           // 0 flat, 1 three-dimensional
    void setAppearance(int value);
    uint32_t backColor() const { return backColor_; }
    void setBackColor(uint32_t color);
    QString caption() const;
    void setCaption(const QString& caption);
    uint32_t lineColor() const { return lineColor_; }
    void setLineColor(uint32_t color);                       // recolours the lines at once
    uint32_t maskColor() const { return maskColor_; }
    void setMaskColor(uint32_t color) { maskColor_ = color; }
    bool useMaskColor() const { return useMaskColor_; }
    void setUseMaskColor(bool on) { useMaskColor_ = on; }
    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap& picture);
    QPixmap downPicture() const { return downPicture_; }
    void setDownPicture(const QPixmap& picture) { downPicture_ = picture; }
    QPixmap disabledPicture() const { return disabledPicture_; }
    void setDisabledPicture(const QPixmap& picture);
    int mousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);
    int oleDropMode() const { return oleDropMode_; }
    void setOleDropMode(int mode);                           // 2 is ignored
    bool rightToLeft() const { return layoutDirection() == Qt::RightToLeft; }
    void setRightToLeft(bool on) { setLayoutDirection(on ? Qt::RightToLeft : Qt::LeftToRight); }

    // The lines, 0 to 13 in drawing order: colour (&HBBGGRR), width in pixels, and where they
    // lie in the control (x from, x to exclusive, y of the top of the strip).
    uint32_t underLineColor(int i) const { return lines_.at(size_t(i)).color; }
    int underLineWidth(int i) const { return lines_.at(size_t(i)).width; }
    QLine underLine(int i) const;
    int stripTop() const;

    static uint32_t Bright(uint32_t col, int32_t vol);
    static uint32_t Contrast(uint32_t col, int32_t per);
    static double RangeCheck(double dat, double min, double max);

    void accessKeyPress(int keyCode) override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Click();
    void GotFocus();
    void LostFocus();
    void KeyDown(int& keyCode, int& shift);
    void KeyUp(int& keyCode, int& shift);
    void KeyPress(int& keyAscii);
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);
    void MouseMove(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Line {
        uint32_t color = 0xFFFF00;
        int width = 3;
    };
    void colorLines();
    void layoutParts();
    int mouseButton(const QMouseEvent* e) const;

    QPushButton* button_;
    std::array<Line, 14> lines_{};
    int appearance_ = 1;
    uint32_t backColor_ = 0x8000000Fu;
    uint32_t lineColor_ = 0xFFFF00;
    uint32_t maskColor_ = 0xC0C0C0;
    bool useMaskColor_ = false;
    QPixmap picture_, downPicture_, disabledPicture_;
    int mousePointer_ = 0;
    int oleDropMode_ = 0;
    bool pressedOnStrip_ = false;
};
