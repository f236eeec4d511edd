#pragma once
// The sheets a search has laid out already. A sheet's layout follows from its stock kind and the
// pieces still open when it starts (their parts, order and orientation, and under 回転方式 1 the
// trial flags), so a sheet that starts in a state seen before is taken from here instead of being
// laid out again. The memo holds at most the bytes it is started with (kept sheets are never
// dropped; a full memo keeps no more) and switches itself off for the rest of a search where its
// hits save too little work.
#include "engine/EngineTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class SheetMemo {
public:
    // A piece placed on the sheet: its rank among the pieces open at the sheet's start, its cell
    // position and its size along x and y.
    struct Placed {
        int32_t rank;
        int16_t x, y, along, across;
    };
    // A sheet laid out: its pieces in queue order, its measures (連番, 母材番号 and 枝番 are set on
    // use), whether every open piece fitted, and the corners tested while it was laid out.
    struct Sheet {
        const Placed* placed = nullptr;
        size_t placedCount = 0;
        SheetResult result;
        bool allFit = false;
        int64_t work = 0;
    };

    static constexpr size_t kDefaultBytes = size_t(32) << 20;
    // Judged every kJudgeFinds finds: off when the hits saved fewer than kMinSavedPerFind corner
    // tests per find.
    static constexpr int64_t kJudgeFinds = 4096;
    static constexpr int64_t kMinSavedPerFind = 40;

    void Start(bool on, size_t maxBytes = kDefaultBytes);   // a search starts: empty, on or off
    void End();                           // the search ended: off, its memory released
    bool on() const { return on_; }
    int64_t hits() const { return hits_; } // sheets taken from the memo since Start
    // The state of the sheet being started, built value by value (values from 0).
    void ClearKey();
    void AddToKey(int v);
    // The sheet laid out from the current key before, or nullptr.
    const Sheet* Find();
    // Keeps the sheet just laid out from the current key while there is room.
    void Keep(const std::vector<Placed>& placed, const SheetResult& result, bool allFit, int64_t work);

private:
    struct Entry {
        uint64_t hash;
        uint32_t key, keyLength;
        Sheet sheet;
    };
    size_t bytes() const;
    int32_t* slot(uint64_t hash, const uint8_t* key, size_t length);   // the entry's or an empty one
    void grow();

    bool on_ = false;
    size_t maxBytes_ = 0;
    std::vector<uint8_t> key_;
    uint64_t hash_ = 0;
    std::vector<uint8_t> keys_;           // the keys of the entries, one after the other
    std::vector<Placed> placed_;          // their pieces
    std::vector<Entry> entries_;
    std::vector<int32_t> table_;          // open addressing: entry index + 1, 0 empty
    int64_t finds_ = 0, hits_ = 0, saved_ = 0;
};
