#pragma once
// The label control: with AutoSize it takes the size of its text whenever the text changes
// (a right-aligned label keeps its right edge, the others their left edge).
#include <QLabel>

class Label : public QLabel {
    Q_OBJECT
public:
    explicit Label(const QString& text = QString(), QWidget* parent = nullptr);

    void setText(const QString& text);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);

private:
    void fit();
    bool autoSize_ = false;
};
