#pragma once
// The distinct layouts of the table パターン, in the order the pattern list ranks them: patterns that
// agree in signature (パターン種別), pieces cut (部材切取数) and ranking key (優先順位) form one group,
// represented by its lowest パターン番号; groups rank by most pieces cut, then the key, then that
// number. The groups and their order are those of
//     SELECT MIN(パターン番号) FROM パターン GROUP BY パターン種別, 部材切取数, 優先順位
//     ORDER BY 部材切取数 DESC, 優先順位, MIN(パターン番号)
// (values compared as SQLite compares them: null before numbers before text, text by its bytes),
// found in one pass over the table in memory: the query sorts every signature text, several times
// the cost of reading it once.
#include "platform/core/Variant.h"

#include <cstdint>
#include <vector>

struct PatternGroup {
    int32_t patternNo = 0;       // the group's lowest パターン番号 as a whole number (0: none)
    // 平均使用率, 部材切取数 and 母材使用数 of the first row (in storage order) with that number.
    bool found = false;
    Variant rate, cut, sheets;
};

// Reads パターン of the working database; a database error is thrown.
std::vector<PatternGroup> ReadPatternGroups();
