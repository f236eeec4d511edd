#pragma once
// The text box (imText): single-line text with a length limit counted in characters, or with
// LengthAsByte in the bytes of the system's code page (CP932), for typing and for code alike.
// Change runs on every change of the text, by typing or by code.
#include "platform/gui/ImEdit.h"

class ImText : public ImEdit {
    Q_OBJECT
public:
    explicit ImText(QWidget* parent = nullptr);

    int maxLength() const { return maxLength_; }          // 0: no limit
    void setMaxLength(int length);
    bool lengthAsByte() const { return lengthAsByte_; }
    void setLengthAsByte(bool on);
    // Kept for the callers that test it; the box itself is single-line.
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool on) { multiLine_ = on; }

    void ClearControl() override;                        // empty text, unless read-only

    // The longest start of text within a limit of bytes in CP932 (whole characters only).
    static QString CutToBytes(const QString& text, int bytes);

private:
    void enforce();
    int maxLength_ = 0;
    bool lengthAsByte_ = false;
    bool multiLine_ = false;
    bool enforcing_ = false;
    QString shown_;
};
