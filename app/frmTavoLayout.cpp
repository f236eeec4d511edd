// The main window's layout: the input panel and its picture at the right edge, the pattern list
// filling the rest, the button row along the bottom edge.
#include "app/frmTavo.h"

#include "foundation/ErrLog.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Label.h"
#include "platform/gui/TDBGrid.h"
#include "ui/LineButton.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <cmath>

namespace {

// A computed size the window cannot take.
int checked(int value)
{
    if (value < 0)
        throw VbError::InvalidPropertyValue();
    return value;
}

void setLeft(QWidget* w, int left) { w->move(left, w->y()); }
void setTop(QWidget* w, int top) { w->move(w->x(), top); }
void setLeftTop(QWidget* w, int left, int top) { w->move(left, top); }
void setWidth(QWidget* w, int width) { w->resize(checked(width), w->height()); }
void setHeight(QWidget* w, int height) { w->resize(w->width(), checked(height)); }

// The height a grid needs to show its header and this many rows.
int gridHeight(TDBGrid& grid, int rows)
{
    return grid.horizontalHeader()->height() + rows * int(std::lround(grid.defaultRowHeight())) + 2 * grid.frameWidth();
}

constexpr int kFrameTitle = 22;   // from a frame's top to its grid
constexpr int kRowGap = 6;        // between a grid and the buttons below it
constexpr int kButtonRow = 25;
constexpr int kFrameBottom = 8;
constexpr int kFrameGap = 6;

}  // namespace

// The vertical design of the input panel: each frame holds its grid's full rows (5 and 12) and
// a row of buttons; the window is made tall enough for both.
void frmTavo::placeInputPanel()
{
    const int stockTop = fraBozai->y();
    const int stockGrid = gridHeight(*TDBBozai, MaxStockRows);
    const int stockButtons = kFrameTitle + stockGrid + kRowGap;
    fraBozai->resize(fraBozai->width(), stockButtons + kButtonRow + kFrameBottom);
    TDBBozai->setGeometry(TDBBozai->x(), stockTop + kFrameTitle, TDBBozai->width(), stockGrid);
    for (QWidget* c : std::initializer_list<QWidget*>{labKirisiro.data(), labKirisiroWidth.data(), labKirisiroColor.data()})
        setTop(c, stockButtons + 4);
    for (QWidget* c : std::initializer_list<QWidget*>{numKirisiroWidth.data(), txtKirisiroColor.data(), butTavoPallete.data()})
        setTop(c, stockButtons + 1);
    setTop(lbutBozaiDelete, stockButtons);

    const int partTop = fraBozai->y() + fraBozai->height() + kFrameGap;
    const int partGrid = gridHeight(*TDBBuzai, MaxPartRows);
    const int partButtons = kFrameTitle + partGrid + kRowGap;
    fraBuzai->setGeometry(fraBuzai->x(), partTop, fraBuzai->width(), partButtons + kButtonRow + kFrameBottom);
    TDBBuzai->setGeometry(TDBBuzai->x(), partTop + kFrameTitle, TDBBuzai->width(), partGrid);
    setTop(butProhibition, partButtons);
    setTop(lbutBuzaiDelete, partButtons);

    FormWindow* w = loadedWindow();
    const int needed = fraBuzai->y() + fraBuzai->height() + 4 + 36;
    if (w->height() < needed)
        w->resize(w->width(), needed);
}

void frmTavo::Form_Resize()
{
    FormWindow* w = loadedWindow();
    if (!w || w->isMinimized() || !TDBList)
        return;
    handle("Form_Resize", [&] {
        const int W = w->width(), H = w->height();
        setLeft(labInputBackStyle, W - 346);
        setHeight(labInputBackStyle, H - 36);
        setLeft(imgPanelo, W - 330);
        setLeft(lbutVersion, W - 100);
        setLeft(fraBozai, W - 338);
        setLeft(TDBBozai, W - 322);
        setLeft(fraBuzai, W - 338);
        setLeft(TDBBuzai, W - 322);
        setWidth(TDBList, W - 348);
        setHeight(TDBList, H - 36);
        setTop(labButtonBackStyle, H - 35);
        setWidth(labButtonBackStyle, W - 2);
        for (QWidget* b : std::initializer_list<QWidget*>{lbutPriMst.data(), lbutSystem.data(), lbutSave.data(), lbutLoad.data()})
            setTop(b, H - 29);
        setLeftTop(lbutDetail, W - 540, H - 29);
        setLeftTop(lbutPrint, W - 444, H - 29);
        setLeftTop(lbutCompute, W - 196, H - 29);
        setLeftTop(lbutClose, W - 100, H - 29);
    });
}
