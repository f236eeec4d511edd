#pragma once
// What the engine needs of the main window: the rows of the stock and part grids, the kerf panel,
// the mouse pointer, and the list commands a stopped computation resets. The main window
// implements it; headless runs use HeadlessHost.
#include "platform/core/Variant.h"

#include <QString>
#include <cstdint>

// One input grid over its data source: rows from 0, cells by column name (母材番号 or 部材番号,
// 長さ, 幅, 数, 色値, 回転).
class EngineRows {
public:
    virtual ~EngineRows() = default;
    virtual int rowCount() const = 0;
    virtual Variant value(int row, const QString& column) const = 0;
    virtual void setValue(int row, const QString& column, const Variant& value) = 0;   // stored with the row
    virtual void setCurrentRow(int row) = 0;              // rowCount(): the grid stands at its end
    virtual void setFocus() = 0;                          // the grid takes the keyboard focus
};

class EngineHost {
public:
    virtual ~EngineHost() = default;
    virtual EngineRows& stockRows() = 0;                  // the stock grid (母材番号 up to 5)
    virtual EngineRows& partRows() = 0;                   // the part grid (部材番号 up to 12)
    virtual int32_t kerfColor() const = 0;                // background of the kerf colour box
    virtual Variant kerfWidth() const = 0;                // value of the kerf width box (input units)
    virtual void setMousePointer(int pointer) {}          // 0 default, 11 hourglass
    virtual void disableListCommands() {}                 // the save and detail buttons
    virtual void detachPatternList() {}                   // list data source to nothing, list columns removed
};
