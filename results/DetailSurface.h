#pragma once
// The drawing surface of the detail window (picDetail) and the hatch marker lying over it
// (shpAmi). The surface shows the picture of one sheet at its top-left corner and its back
// colour beyond; it is moved inside its frame to scroll. The marker is a rectangle with a
// border and a cross-hatch fill in one colour; it is moved and resized, never drawn into the
// sheet's picture, and lets mouse clicks through to the surface.
#include <QImage>
#include <QWidget>
#include <cstdint>

class DetailSurface : public QWidget {
    Q_OBJECT
public:
    explicit DetailSurface(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);

signals:
    // button 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt; x and y in pixels.
    void MouseDown(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

class HatchMarker : public QWidget {
    Q_OBJECT
public:
    explicit HatchMarker(QWidget* parent = nullptr);

    uint32_t borderColor() const { return border_; }
    void setBorderColor(uint32_t color);
    uint32_t fillColor() const { return fill_; }
    void setFillColor(uint32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t border_ = 0, fill_ = 0;
};
