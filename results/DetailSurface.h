#pragma once
// The drawing surface of the detail window (picDetail) and the hatch marker lying over it
// (shpAmi). The surface is a picture box with a sunken border two pixels wide: its size and
// position are those of the whole box, its drawing coordinates (the picture, the mouse, the
// marker) start inside the border. So the box placed at (-2, -2) in its frame shows the sheet's
// first pixel at the frame's corner. It shows the picture of one sheet at its client's top-left
// corner and its back colour beyond, and is moved inside its frame to scroll. The marker is a
// rectangle with a border and a cross-hatch fill in one colour, placed in the surface's drawing
// coordinates; it is moved and resized, never drawn into the sheet's picture, and lets mouse
// clicks through to the surface.
#include <QImage>
#include <QWidget>
#include <cstdint>

class DetailSurface : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 2;

    explicit DetailSurface(QWidget* parent = nullptr);

    // The area inside the border, origin of the drawing coordinates.
    QWidget* client() const { return client_; }

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);

signals:
    // button 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt; x and y in pixels.
    void MouseDown(int button, int shift, float x, float y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QWidget* client_;
};

class HatchMarker : public QWidget {
    Q_OBJECT
public:
    // Over a DetailSurface the marker lies in its client, in drawing coordinates.
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
