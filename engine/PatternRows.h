#pragma once
// The rows one completed layout is stored as: a row of パターン部材 per piece and per kerf band, a
// row of パターン母材 per sheet, and the summary row of パターン with the signature (equal for equal
// layouts) and the priority key (the ranking text).
#include "engine/EngineTypes.h"

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class Engine;

struct PatternPieceRow {
    int32_t パターン番号 = 0;
    int32_t 連番 = 0, 部材番号 = 0, 母材番号 = 0, 枝番 = 0;
    int32_t 開始横 = 0, 開始縦 = 0, 終了横 = 0, 終了縦 = 0;
    int32_t 色 = 0;
};

struct PatternSheetRow : SheetAreas {
    int32_t パターン番号 = 0, 連番 = 0, 母材番号 = 0, 枝番 = 0, 最大平方 = 0, 平方数 = 0;
};

struct PatternRow {
    int32_t パターン番号 = 0;
    std::string パターン種別;   // the full signature (ASCII)
    std::string 優先順位;       // the key, cut to 255 characters (ASCII)
    int16_t 母材使用数 = 0;
    int32_t 部材切取数 = 0;
    double 平均使用率 = 0, 平均切代率 = 0, 平均端材率 = 0, 平均余材率 = 0;
};

// The value a double takes through its SQL literal (15 significant digits).
double SqlDouble(double value);

// The piece and kerf rows of pattern PatternNo, in the order they are written.
void PatternPieceRows(const Engine& engine, const std::vector<PiecePlacement>& placements,
                      std::vector<PatternPieceRow>& rows);
// The four kerf rows of width kerf that follow a piece row (a copy: it may be an element of rows).
void AppendKerfRows(PatternPieceRow piece, int32_t kerf, int32_t colour, std::vector<PatternPieceRow>& rows);
// The sheet rows; rates as their literals store them.
void PatternSheetRows(const Engine& engine, const std::vector<SheetResult>& sheets, std::vector<PatternSheetRow>& rows);
// The summary row from the rows above, as the read-back of the stored rows gives it. A layout with
// no used sheet raises (its averages divide by zero).
PatternRow PatternSummary(const Engine& engine, const std::vector<PatternPieceRow>& pieces,
                          const std::vector<PatternSheetRow>& sheets);
// The signature of piece rows: per row ordered by 部材番号, 連番, 開始縦, 開始横, 終了縦, 終了横 the
// texts of 部材番号, 連番, 開始横, 開始縦, 終了横 and 終了縦, each followed by ",".
std::string PatternSignature(const std::vector<PatternPieceRow>& pieces);
// The priority key: the used-sheet count "000", then per used sheet in 連番 order the chosen
// criteria (the sheet's 平方数 "000", running sums of 使用率, 切代率, 端材率 "000.00"), each with ",".
std::string PriorityKey(const QString& sortKeyList, const std::vector<PatternSheetRow>& sheets);
