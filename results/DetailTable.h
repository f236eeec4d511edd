#pragma once
// The detail window's work table パターン詳細: one row per used sheet of the pattern shown plus
// the TOTAL row (連番 0), rebuilt from the pattern tables at every opening, and the statements
// of the two grids over it (the sheet grid over パターン詳細, the part grid over the placed pieces
// of パターン部材 in input units).
//
// Sheets are addressed by 連番 up to the largest 連番 of a used sheet: a sheet that received
// nothing has no row, and the sheets after it still get theirs.
//
// Failures are written to the error log under "frmDetail" and the procedure's name; nothing is
// shown and the caller goes on.
#include "platform/core/Database.h"

#include <QString>
#include <cstdint>
#include <optional>

// The largest 連番 of a used sheet (使用面積 <> 0) of the pattern; 0 when it has none.
int16_t LastUsedSheet(int32_t patternNo);

// "DELETE FROM パターン詳細".
void DeleteDetail();
// The TOTAL row and one row per used sheet 1..lastSheet of the pattern; the part columns 1 to
// PartTypeCount of the engine's part table. Each row is its own statement, without transaction:
// a failing row ends the build and leaves the rows before it.
void InsertDetail(int32_t patternNo, int16_t lastSheet);
// DeleteDetail then InsertDetail in one transaction: one flush to the disk instead of one per row.
// What a failing row leaves is committed, as row by row it would stay.
void WriteDetail(int32_t patternNo, int16_t lastSheet);

// The recordsets of the build (nothing on failure, logged under their names).
std::optional<Recordset> PaternRecordSet(int32_t patternNo);
std::optional<Recordset> BozaiRecordSet(int32_t patternNo, int16_t sheet);
// Pieces per part and colour: of one sheet, or (sheet 0) of every sheet; of one part (0: all).
std::optional<Recordset> BuzaiRecordSet(int32_t patternNo, int16_t sheet, int16_t part);

// The sheet grid's rows: TOTAL first (its 母番 "0-0"), then the sheets by 母材番号 and 枝番.
QString DetailGridSql();
// The part grid's rows: every placed piece (no kerf bands, no unplaced pieces), by sheet, then in
// the order of the cutting position (0: left edge first, 1: top edge first).
QString PartGridSql(int32_t patternNo, int16_t unit, int16_t cutPosition);
