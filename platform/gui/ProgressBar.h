#pragma once
// The progress bar control: a single-precision value between a minimum of 0 and a maximum.
// A value outside 0..Max, or a maximum of 0 or less, is refused (VbError 380). A maximum below
// the current value is accepted and the bar shows full until the value is set again.
#include <QWidget>

class ProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent = nullptr);

    float value() const { return value_; }
    void setValue(float value);
    float max() const { return max_; }
    void setMax(float max);
    float min() const { return 0.0f; }
    double fraction() const;          // the share shown, 0..1

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float value_ = 0.0f;
    float max_ = 100.0f;
};
