#pragma once
// What the main window hands the detail window for the current list row and column.
#include <cstdint>

struct ListSelection {
    int32_t patternNo = 0;    // SelPatternNo
    int32_t listNo = 0;       // SelListNo
    int16_t sheetCount = 0;   // SelSheetCount (母材使用数)
    int16_t lastSheet = 0;    // the largest 連番 of a used sheet of the pattern
    int16_t sheet = 0;        // SelSheet: the clicked sheet (1 for the text column), at most the
                              // larger of sheetCount and lastSheet
    bool valid() const { return patternNo != 0 && listNo != 0 && sheetCount != 0; }
};

// SelPatternNo, SelListNo, SelSheetCount and SelSheet.
ListSelection& gSelection();
