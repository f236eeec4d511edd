#pragma once
// The engine's host and progress for runs without windows (tests, the benchmark runner): the grids
// are recordsets over the 母材 and 部材 rows of the working database, the kerf is given, and what
// the engine does to the window is recorded.
#include "engine/EngineHost.h"
#include "engine/EngineProgress.h"
#include "platform/core/Database.h"

#include <QStringList>
#include <vector>

// An input grid over an updatable recordset.
class RecordsetRows : public EngineRows {
public:
    RecordsetRows() = default;
    explicit RecordsetRows(Recordset rs) : rs_(std::move(rs)) {}
    int rowCount() const override { return rs_.isOpen() ? rs_.recordCount() : 0; }
    Variant value(int row, const QString& column) const override;
    void setValue(int row, const QString& column, const Variant& value) override;
    void setCurrentRow(int row) override { currentRow_ = row; }
    void setFocus() override { ++focusCount_; }

    int currentRow() const { return currentRow_; }
    int focusCount() const { return focusCount_; }

private:
    mutable Recordset rs_;
    int currentRow_ = 0;
    int focusCount_ = 0;
};

class HeadlessHost : public EngineHost {
public:
    HeadlessHost(int32_t kerfWidth = 0, int32_t kerfColor = 0);
    // Reads the grids' rows again (母材番号 up to 5, 部材番号 up to 12, in number order).
    void Reload();
    void setKerf(const Variant& width, int32_t colour) { kerfWidth_ = width; kerfColor_ = colour; }

    RecordsetRows& stockRows() override { return stock_; }
    RecordsetRows& partRows() override { return parts_; }
    int32_t kerfColor() const override { return kerfColor_; }
    Variant kerfWidth() const override { return kerfWidth_; }
    void setMousePointer(int pointer) override { mousePointer = pointer; }
    void disableListCommands() override { ++listCommandsDisabled; }
    void detachPatternList() override { ++patternListDetached; }

    int mousePointer = 0;
    int listCommandsDisabled = 0;
    int patternListDetached = 0;

private:
    RecordsetRows stock_, parts_;
    Variant kerfWidth_;
    int32_t kerfColor_ = 0;
};

// Progress without a window: keeps the last values, the step texts shown, and a cancel flag.
class HeadlessProgress : public EngineProgress {
public:
    void setStepText(const QString& text) override { stepTexts.push_back(text); }
    void setProgress1Max(int32_t max) override { max1 = max; }
    void setProgress2Max(int32_t max) override { max2 = max; }
    void updateProgress1(int32_t value) override { value1 = value; }
    void updateProgress2(int32_t value) override { value2 = value; }
    bool cancel() const override { return cancelFlag; }
    void setCancel(bool value) override { cancelFlag = value; }
    void pumpEvents() override { ++pumps; }

    QStringList stepTexts;
    int32_t max1 = 0, max2 = 0, value1 = 0, value2 = 0;
    bool cancelFlag = false;
    int pumps = 0;
};
