#pragma once
// The detail window (詳細画面): one pattern of the current computation, sheet by sheet. Its sheet
// grid (areas, rates and part counts per sheet, over the work table パターン詳細) stretches along
// the top; the drawing of the sheet shown, to scale with part numbers, kerf, guide and strip
// lines, fills the panel below, with zoom buttons and a horizontal scroll bar; the part grid
// (the corner coordinates of every placed piece) stands at the right, with the hatch marker's
// check box and the export button; the stepping buttons and the sheet number box at the left.
//
// Everything is rebuilt from the hand-over (gSelection()) when the window loads. The main window
// opens it modeless and closes an open one first:
//
//   UnloadFormNamed("frmDetail");   // or gDetail().unload(); false while it prints itself
//   gDetail().show();               // loads afresh from gSelection(), then shows and activates
//
// A new computation closes it the same way. The sheet shown changes by one road only: the value
// of the sheet number box numBozaiNo, whose change runs BozaiChange. Sheets are addressed by 連番
// up to the largest 連番 of a used sheet of the pattern; stepping skips sheets that received
// nothing.
#include "drawing/SheetDrawing.h"
#include "ui/FormHandler.h"

#include <QPointer>
#include <cstdint>
#include <functional>

class DetailSurface;
class HatchMarker;
class ImNumber;
class Label;
class LineButton;
class QCheckBox;
class QPushButton;
class QScrollBar;
class TDBGrid;

class frmDetail : public HandledForm {
    Q_OBJECT
public:
    frmDetail();

    // --- controls (valid while the window is loaded) ---
    QPointer<Label> labDetailBackStyle, labListBackStyle, labButtonBackStyle;
    QPointer<TDBGrid> TDBDetail, TDBList;
    QPointer<QWidget> picSizeBackStyle, picDodai;
    QPointer<DetailSurface> picDetail;
    QPointer<HatchMarker> shpAmi;
    QPointer<QScrollBar> HScroll1;
    QPointer<Label> labSize;
    QPointer<QPushButton> butSmall, butBig, butBozaiNoDown, butBozaiNoUp;
    QPointer<QCheckBox> chkAmi;
    QPointer<ImNumber> numBozaiNo;
    QPointer<Label> labDetailPaternNo, txtDetailPaternNo, labBozaiNo, txtBozaiNo;
    QPointer<LineButton> lbutOutput, lbutPrint, lbutClose;

    // --- state ---
    double DrawScale = 1;        // pixels per cell of the drawing
    int16_t OffsetX = 0;         // left of the drawing in its frame, then the scroll value applied
    int16_t OffsetY = 0;
    bool PrintBusy = false;      // while the window prints itself
    int16_t LastSheet() const { return lastSheet_; }   // the highest sheet number of the box
    const SheetScene& Scene() const { return scene_; }   // the sheet drawn last

    // --- the window ---
    void lbutClose_Click();
    void lbutPrint_Click();
    void lbutOutput_Click();

    // --- the work table's grids ---
    void InitGrid();
    void SetTDBGridColumn(bool rebuild);
    void SetTDBListColumn();

    // --- drawing, zoom and scrolling ---
    void DrawDetail();
    void butBig_Click();
    void butSmall_Click();
    void Resize();
    void SetScroll();
    void HScroll();

    // --- sheet stepping and part selection ---
    void butBozaiNoDown_Click();
    void butBozaiNoUp_Click();
    void numBozaiNo_Change();
    void BozaiChange(bool setNumber, bool moveSheetGrid, bool movePartGrid);
    // The 母材番号 of the sheet with that 連番 (its row of パターン詳細; a sheet that received
    // nothing has none there and is found in パターン母材); 0 for no such sheet.
    int16_t GetBozaiNo(int16_t sheetSeq);
    void TDBDetail_RowColChange();
    void TDBList_RowColChange();
    void TDBDetail_ColResize();
    void picDetail_MouseDown(int button, int shift, float x, float y);
    void chkAmi_Click();

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    void SetButtonColors();
    void layout();
    void fitWidth();                         // DrawScale fits the shown sheet's length to the frame
    void placeMarker();                      // over the part grid's current row, at DrawScale
    void moveToSheet(TDBGrid& grid);         // the first row of the shown sheet, set once
    int16_t rowSheet(TDBGrid& grid, int row) const;
    void setSheetNumber(int16_t sheet);      // the box's value; its change shows the sheet
    void shareSheetColumns();

    SheetScene scene_;
    int16_t lastSheet_ = 0;
    int quiet_ = 0;                          // >0: grid moves by code, row-change handlers rest
    double scrollBarWidth_ = 0, firstColumnLeft_ = 0;
};

// The one detail window, created on first use.
frmDetail& gDetail();
