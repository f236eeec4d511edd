#pragma once
// The number box (imNumber): a value with a range, shown with its display format when the
// box has no focus and its edit format while it has. Setting the value or the range from code
// never clamps (set the range first where it matters); only a typed value is checked: outside
// the range, InvalidRange runs with the typed value in Value, and a value still outside the
// range afterwards is dropped for the previous one (with retry set, the box keeps the focus).
// Change runs whenever the value changes, by typing or by code.
#include "platform/gui/ImEdit.h"

class ImNumber : public ImEdit {
    Q_OBJECT
public:
    explicit ImNumber(QWidget* parent = nullptr);

    double value() const { return value_; }
    void setValue(double value);
    double minValue() const { return min_; }
    void setMinValue(double v) { min_ = v; }
    double maxValue() const { return max_; }
    void setMaxValue(double v) { max_ = v; }
    QString displayFormat() const { return displayFormat_; }
    void setDisplayFormat(const QString& f);
    QString format() const { return format_; }            // the edit format
    void setFormat(const QString& f);
    QString dataField() const { return dataField_; }
    void setDataField(const QString& f) { dataField_ = f; }
    // Spin buttons are not offered; their settings are kept for the callers that set them.
    bool spinEnabled() const { return spinEnabled_; }
    void setSpinEnabled(bool on) { spinEnabled_ = on; }
    bool spinVisible() const { return spinVisible_; }
    void setSpinVisible(bool on) { spinVisible_ = on; }

    void ClearControl() override;                        // value 0, unless read-only

signals:
    void InvalidRange(bool& retry);

protected:
    bool commit() override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void showValue();
    double value_ = 0;
    double min_ = -999999999.0, max_ = 999999999.0;
    QString displayFormat_, format_, dataField_;
    bool spinEnabled_ = true, spinVisible_ = true;
};
