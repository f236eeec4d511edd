#include "engine/SheetMemo.h"

#include <algorithm>
#include <cstring>
#include <new>

void SheetMemo::Start(bool on, size_t maxBytes)
{
    End();
    on_ = on;
    maxBytes_ = maxBytes;
    finds_ = hits_ = saved_ = 0;
    // Room for the most the memo keeps, so that what it hands out never moves; only the memory
    // written to is taken from the system.
    if (on) {
        try {
            keys_.reserve(maxBytes);
            placed_.reserve(maxBytes / sizeof(Placed));
            entries_.reserve(maxBytes / sizeof(Entry));
        } catch (const std::bad_alloc&) {
            End();                        // the search runs without the memo
        }
    }
}

void SheetMemo::ClearKey()
{
    key_.clear();
    hash_ = 0x9E3779B97F4A7C15ull;
}

void SheetMemo::AddToKey(int v)
{
    for (;;) {
        const uint8_t b = v >= 0x80 ? uint8_t(0x80 | (v & 0x7F)) : uint8_t(v);
        key_.push_back(b);
        hash_ = (hash_ ^ b) * 0x100000001B3ull;
        if (v < 0x80)
            break;
        v >>= 7;
    }
}

size_t SheetMemo::bytes() const
{
    return keys_.size() + placed_.size() * sizeof(Placed) + entries_.size() * sizeof(Entry) +
           table_.size() * sizeof(int32_t);
}

int32_t* SheetMemo::slot(uint64_t hash, const uint8_t* key, size_t length)
{
    const size_t mask = table_.size() - 1;
    for (size_t i = size_t(hash ^ (hash >> 29)) & mask;; i = (i + 1) & mask) {
        int32_t& s = table_[i];
        if (s == 0)
            return &s;
        const Entry& e = entries_[size_t(s - 1)];
        if (e.hash == hash && e.keyLength == length && std::memcmp(keys_.data() + e.key, key, length) == 0)
            return &s;
    }
}

void SheetMemo::grow()
{
    table_.assign(std::max<size_t>(64, table_.size() * 2), 0);
    for (size_t n = 0; n < entries_.size(); ++n) {
        const Entry& e = entries_[n];
        *slot(e.hash, keys_.data() + e.key, e.keyLength) = int32_t(n + 1);
    }
}

void SheetMemo::End()
{
    // Released, not only emptied: the memory goes back when a search ends or the memo goes off.
    on_ = false;
    key_ = {};
    keys_ = {};
    placed_ = {};
    entries_ = {};
    table_ = {};
}

const SheetMemo::Sheet* SheetMemo::Find()
{
    if (!on_)
        return nullptr;
    if (table_.empty())
        grow();
    ++finds_;
    const int32_t s = *slot(hash_, key_.data(), key_.size());
    const Sheet* found = nullptr;
    if (s != 0) {
        Entry& e = entries_[size_t(s - 1)];
        saved_ += e.sheet.work;
        found = &e.sheet;
    }
    if (finds_ % kJudgeFinds == 0 && saved_ < kMinSavedPerFind * finds_) {
        End();
        return nullptr;
    }
    if (found)
        ++hits_;
    return found;
}

void SheetMemo::Keep(const std::vector<Placed>& placed, const SheetResult& result, bool allFit, int64_t work)
{
    if (!on_)
        return;
    const bool grows = (entries_.size() + 1) * 2 > table_.size();   // the table doubles first
    const size_t add = key_.size() + placed.size() * sizeof(Placed) + sizeof(Entry) +
                       (grows ? table_.size() * sizeof(int32_t) : 0);
    if (bytes() + add > maxBytes_ || entries_.size() >= 0x3FFFFFFF)
        return;
    if (grows)
        grow();
    int32_t* s = slot(hash_, key_.data(), key_.size());
    if (*s != 0)
        return;
    Entry e{hash_, uint32_t(keys_.size()), uint32_t(key_.size()),
            Sheet{placed_.data() + placed_.size(), placed.size(), result, allFit, work}};
    keys_.insert(keys_.end(), key_.begin(), key_.end());
    placed_.insert(placed_.end(), placed.begin(), placed.end());
    entries_.push_back(e);
    *s = int32_t(entries_.size());
}
