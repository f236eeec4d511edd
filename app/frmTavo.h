#pragma once
// The main window: the stock and part grids, the kerf panel, the ranked pattern list and the
// command buttons. It loads and keeps the kerf panel in 設定, runs a computation through the
// engine with the progress window, and serves the engine as its host (the rows of the two
// grids, the kerf panel, the mouse pointer and the list commands).
#include "app/PatternList.h"
#include "engine/EngineHost.h"
#include "platform/core/Database.h"
#include "ui/FormHandler.h"

#include <QPointer>
#include <cstdint>
#include <memory>

class ImNumber;
class ImText;
class Label;
class LineButton;
class QGroupBox;
class QLabel;
class QPushButton;
class TDBGrid;
class Variant;

// The row limits of the two input grids.
inline constexpr int16_t MaxStockRows = 5;
inline constexpr int16_t MaxPartRows = 12;

// One input grid as the engine reads it: rows through a clone of the grid's recordset, so the
// grid's current row stays where the user left it; the row the engine names last becomes
// current only when the engine gives the grid the focus (after a failed check).
class GridRows : public EngineRows {
public:
    explicit GridRows(TDBGrid* grid = nullptr);
    int rowCount() const override;
    Variant value(int row, const QString& column) const override;
    void setValue(int row, const QString& column, const Variant& value) override;
    void setCurrentRow(int row) override { row_ = row; }
    void setFocus() override;

private:
    QPointer<TDBGrid> grid_;
    int row_ = -1;
};

class frmTavo : public HandledForm, public EngineHost {
    Q_OBJECT
public:
    frmTavo();
    ~frmTavo() override;

    // --- controls (valid while the window is loaded) ---
    QPointer<Label> labInputBackStyle, labButtonBackStyle;
    QPointer<QLabel> imgPanelo;
    QPointer<QGroupBox> fraBozai, fraBuzai;
    QPointer<TDBGrid> TDBBozai, TDBBuzai, TDBList;
    QPointer<LineButton> lbutCompute, lbutDetail, lbutPrint, lbutSave, lbutLoad, lbutSystem, lbutPriMst,
        lbutVersion, lbutClose, lbutBozaiDelete, lbutBuzaiDelete;
    QPointer<QPushButton> butProhibition, butTavoPallete;
    QPointer<Label> labKirisiro, labKirisiroWidth, labKirisiroColor;
    QPointer<ImNumber> numKirisiroWidth;
    QPointer<ImText> txtKirisiroColor;
    PatternList* patternList() const { return list_.get(); }

    // --- state ---
    bool Busy = false;                  // set only while the window prints itself
    bool RotateAllNext = false;         // what the rotate-all button writes next into 回転
    int16_t BozaiNoCounter = 0, BuzaiNoCounter = 0;
    Recordset SettingRs;

    // --- commands ---
    void lbutCompute_Click();
    bool AfterCompute();
    void lbutDetail_Click();
    void lbutBozaiDelete_Click();
    void lbutBuzaiDelete_Click();
    void butProhibition_Click();
    void butTavoPallete_Click();
    void lbutSystem_Click();
    void lbutSave_Click();
    void lbutLoad_Click();
    void lbutVersion_Click();
    void lbutPriMst_Click();
    void lbutPrint_Click();
    void lbutClose_Click();
    // The main window's half of a recall, once the recall dialog has copied a saved computation
    // back into the working tables (previousDisplaySheets: 表示母材 before the recall).
    bool ReloadAfterRecall(int16_t previousDisplaySheets);

    void SetControlsColor();
    void InitSetting();
    void WriteSetting();                // 設定 from the kerf panel: one row, inserted or updated

    // --- the input grids ---
    void SetTDBGridColumns();
    void InitBozaiGrid();
    void InitBuzaiGrid();
    // The modes of SetBozaiNo and SetBuzaiNo.
    static constexpr int16_t kNumberCurrentRow = 0;   // number and defaults of the current row
    static constexpr int16_t kRenumberAll = -1;       // (True) every row numbered again from 1
    void SetBozaiNo(int16_t mode);
    void SetBuzaiNo(int16_t mode);
    void CheckBozaiCount();
    void CheckBuzaiCount();

    // --- EngineHost ---
    EngineRows& stockRows() override { return stockRows_; }
    EngineRows& partRows() override { return partRows_; }
    int32_t kerfColor() const override;
    Variant kerfWidth() const override;
    void setMousePointer(int pointer) override { Form::setMousePointer(pointer); }
    void disableListCommands() override;
    void detachPatternList() override;

protected:
    void createControls(FormWindow* w) override;
    void Form_Load() override;
    void Form_QueryUnload(int& cancel, int unloadMode) override;
    void Form_Unload(int& cancel) override;
    void Form_Resize() override;

private:
    struct InputGrid;                   // what differs between the stock and the part grid
    const InputGrid& stock() const;
    const InputGrid& parts() const;
    void initGrid(const InputGrid& g);
    void setRowNo(const InputGrid& g, int16_t mode);
    void checkCount(const InputGrid& g);
    void deleteRow(const InputGrid& g);
    void pickRowColor(const InputGrid& g, bool fromButton, int colIndex);
    void connectGrid(const InputGrid& g);
    void txtKirisiroColor_KeyDown(int& keyCode, int& shift);
    void placeInputPanel();             // the heights that hold 5 stock and 12 part rows

    std::unique_ptr<PatternList> list_;
    GridRows stockRows_, partRows_;
};

// The one main window of the program, created on first use.
frmTavo& gTavo();
// Unloads the loaded form of that name (none: nothing); false when it refused.
bool UnloadFormNamed(const QString& name);
