#pragma once
// The distinct layouts of the table パターン, in the order the pattern list ranks them: patterns that
// agree in signature (パターン種別), pieces cut (部材切取数) and ranking key (優先順位) form one group,
// represented by its lowest パターン番号; groups rank by most pieces cut, then the key, then that
// number. The groups and their order are those of
//     SELECT MIN(パターン番号) FROM パターン GROUP BY パターン種別, 部材切取数, 優先順位
//     ORDER BY 部材切取数 DESC, 優先順位, MIN(パターン番号)
// (values compared as SQLite compares them: null before numbers before text, text by its bytes).
//
// A table as the engine writes it (パターン番号 whole and rising in storage order, 部材切取数 and
// 母材使用数 whole numbers of 32 bits, 平均使用率 a number, 優先順位 a text of at most 255 digits, ',',
// '.' and '-') is grouped in one pass that keeps about a hundred bytes per group and no signature:
// a hash of the three values, the key packed four bits a character in its text order, and the
// group's first row, whose signature is read again by rowid where another row's hash, pieces and
// key meet the group's. (Sorting every signature text, as the query does, costs several times the
// pass.) A table of any other form is grouped by the query itself (ReadPatternGroupsByQuery).
#include "platform/core/Variant.h"

#include <cstdint>
#include <vector>

struct PatternGroup {
    int32_t patternNo = 0;       // the group's lowest パターン番号 as a whole number (0: none)
    // Of the first row (in storage order) with that number: 平均使用率 as stored, 部材切取数 and
    // 母材使用数 as whole numbers (cBase::CvtLng); empty and 0 when there is none.
    bool found = false;
    Variant rate;
    int32_t cut = 0, sheets = 0;
};

// Reads パターン of the working database; a database error is thrown.
std::vector<PatternGroup> ReadPatternGroups();
// The same by the grouping query, each group's list values looked up by its number.
std::vector<PatternGroup> ReadPatternGroupsByQuery();
