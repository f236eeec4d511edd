#pragma once
// The ranked pattern list of the main window, on its list grid (TDBList).
//
// The distinct layouts of the last computation or recall: patterns that agree in signature,
// pieces cut and ranking key form one group, represented by its lowest pattern number; groups
// rank by most pieces cut, then the key as text, then that number. Every group gets a row of
// パターンリスト (リスト番号 1, 2, ... and its データ text); the grid shows the first 表示リスト
// rows: two hidden columns (リスト番号, 部材切取数), the text column, and one thumbnail column
// per sheet position, captioned "母材番号 - k" after the stock the computation used.
//
// Wiring (the main window):
//   Form_Load          list.LimitPicture(); list.InitListGrid();
//   AfterCompute       list.Build()  (OpenPatternGroups, InsertListData + ConnectList,
//                      SetTDBGridColumn, Resize); false: the list stays as Clear() left it when
//                      the caller clears it, or with its previous binding
//   recall             list.InitListGrid() before the grids are rebuilt, then AfterCompute
//   ClearPatternResults(true), list half:  list.Clear()
//   settings dialog closed:                list.Refresh()  (repaints; thumbnails follow the settings)
//   lbutDetail_Click   reads list.CurrentSelection() (or the grid's recordset and column)
//   double click       connect DetailRequested to lbutDetail_Click; with setDetailButton(b) it
//                      is emitted only while b is enabled
//
// What the list reads of the engine (gEngine() unless another engine is given) is taken when the
// grid is bound to the new rows (ConnectList): the stock in the order the computation used it
// (StockTbl and StockQueue), MaxStockWidth and MaxStockLength, ListSheetColumns, KerfWidth,
// KerfColor and PiecePartTotal. Sheets are addressed by 連番: the sheet columns reach the largest
// 連番 of a used sheet of the stored patterns (at most 表示母材), never fewer than ListSheetColumns. The settings are read when used: 表示リスト by ConnectList, 表示サイズ by
// Resize, the drawing settings (切取補助線, 切取位置, スリット, スリット線) by the thumbnails.
//
// Errors are written to the error log under "frmTavo" and the procedure's name; no message box.
#include "app/ListThumbnails.h"
#include "app/PatternGroups.h"
#include "results/HandOver.h"

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

class Engine;
class TDBGrid;
struct TDBCellStyle;
class QWidget;

// The largest area of one thumbnail in square pixels.
constexpr int32_t kMaxDrawArea = 60000;

// The text of a list row: "No." n (at least four digits), a blank line, the sheets and "枚", a
// blank line, the average use rate with two decimals and "%" (CR LF line ends).
QString ListDataText(int32_t listNo, int16_t sheets, double rate);

class PatternList : public QObject {
    Q_OBJECT
public:
    // Connects itself to the grid's RowResize, ColResize, DblClick and FetchCellStyle.
    explicit PatternList(TDBGrid& grid, Engine* engine = nullptr, QObject* parent = nullptr);
    ~PatternList() override;

    // --- the steps of a rebuild, in this order ---
    bool OpenPatternGroups();       // the groups (PatternGroups.h); false on error
    // Fills パターンリスト in one transaction, then ConnectList; the groups are released after it
    // (the list keeps their pattern numbers).
    bool InsertListData();
    bool ConnectList();             // binds the grid to the first 表示リスト rows of the groups inserted
    void SetTDBGridColumn();        // the grid's columns
    void Resize();                  // the start scale from 表示サイズ, applied
    // The whole rebuild: the result is that of the last of OpenPatternGroups / InsertListData run.
    bool Build();

    // --- other operations ---
    void LimitPicture();            // MaxDrawArea = 60000
    void InitListGrid();            // removes every column of the grid
    void Clear();                   // grid detached from its rows, columns removed, thumbnails dropped
    void Refresh();                 // repaints the list (after a settings change)
    // Clamps ListScale and applies it: 0 when the row height and widths were set, 1 when nothing
    // was applied (the scale equals previousScale, or an error).
    int16_t TDBList_Resize(double previousScale);

    // --- state ---
    double ListScale() const { return scale_; }
    void setListScale(double scale) { scale_ = scale; }
    int32_t MaxDrawArea() const { return maxDrawArea_; }
    // The pattern number of each group of the list shown, in ranking order.
    const std::vector<int32_t>& PatternGroups() const { return groups_; }
    void ReleasePatternGroups() { patternGroups_.clear(); }
    TDBGrid& grid() { return grid_; }
    ListThumbnails& thumbnails() { return thumbnails_; }
    // The hand-over of the current row and column (all 0 without a current row).
    ListSelection CurrentSelection() const;
    // The double-click hand-over waits for this button to be enabled (none: always).
    void setDetailButton(QWidget* button) { detailButton_ = button; }

signals:
    void DetailRequested();          // the list was double-clicked: run lbutDetail_Click

private:
    void TDBList_RowResize(int& cancel);
    void TDBList_ColResize(int colIndex, int& cancel);
    void TDBList_DblClick();
    void TDBList_FetchCellStyle(int condition, int split, int bookmark, int col, TDBCellStyle& style);
    void takeSnapshot();
    // The stock row and its sheet number k of each of the first sheet columns (fewer when the stock
    // runs out).
    std::vector<std::pair<const ListStockRow*, int>> sheetStocks(int columns) const;
    SheetLook look() const;
    double textColumnWidth();
    QImage DrawList(int32_t listNo, int16_t sheet);   // null: that pattern has no such sheet

    TDBGrid& grid_;
    Engine& engine_;
    ListThumbnails thumbnails_;
    std::vector<PatternGroup> patternGroups_;   // from OpenPatternGroups to the end of InsertListData
    std::vector<int32_t> groups_;        // パターン番号 of the groups in ranking order, taken by ConnectList
    ListStock stock_;                    // the computation's stock, taken by OpenPatternGroups
    double scale_ = 0;
    int32_t maxDrawArea_ = 0;
    int32_t maxStockWidth_ = 0, maxStockLength_ = 0;
    int16_t sheetColumns_ = 0;
    int32_t piecePartTotal_ = 0;
    int16_t kerfWidth_ = 0;
    int32_t kerfColor_ = 0;
    QPointer<QWidget> detailButton_;
    bool resizing_ = false;
};
