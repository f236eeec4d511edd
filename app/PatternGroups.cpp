#include "app/PatternGroups.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>

namespace {

using Raw = Statement::Raw;

// 優先順位 packed after a byte holding its length, four bits a character: the engine's characters as
// 1 to 13 in the order of their bytes, so packed keys compare as their texts do (compareKeys).
constexpr std::string_view kKeyCharacters = ",-.0123456789";
constexpr auto kKeyCodes = [] {
    std::array<uint8_t, 256> codes{};
    for (size_t i = 0; i < kKeyCharacters.size(); ++i)
        codes[uint8_t(kKeyCharacters[i])] = uint8_t(i + 1);
    return codes;
}();
constexpr size_t kMaxPacked = 1 + 128;   // a key of 255 characters

// Packs the key into `to` (room for kMaxPacked bytes): its packed size, or 0 for a key longer than
// 255 characters or with any other character.
size_t packKey(std::string_view key, char* to)
{
    if (key.size() > 255)
        return 0;
    to[0] = char(key.size());
    for (size_t i = 0; i < key.size(); i += 2) {
        const bool pair = i + 1 < key.size();
        const uint8_t high = kKeyCodes[uint8_t(key[i])], low = pair ? kKeyCodes[uint8_t(key[i + 1])] : 0;
        if (high == 0 || (pair && low == 0))
            return 0;
        to[1 + i / 2] = char(high << 4 | low);
    }
    return 1 + (key.size() + 1) / 2;
}

// <0, 0, >0 as the texts of two packed keys compare (a padding 0 sorts before every character).
int compareKeys(const char* a, const char* b)
{
    const size_t na = uint8_t(a[0]), nb = uint8_t(b[0]);
    if (const int c = std::memcmp(a + 1, b + 1, (std::min(na, nb) + 1) / 2))
        return c;
    return int(na) - int(nb);
}

// Packed keys in blocks that never move, so that growing copies nothing: the next key is packed at
// the end, and kept or left there for the one after.
class KeyStore {
public:
    char* end()
    {
        if (used_ + kMaxPacked > kBlock) {
            blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlock));
            used_ = 0;
        }
        return blocks_.back().get() + used_;
    }
    uint32_t keep(size_t size)   // the place of the key at the end
    {
        const size_t at = (blocks_.size() - 1) * kBlock + used_;
        used_ += size;
        return uint32_t(at);
    }
    const char* at(uint32_t place) const { return blocks_[place / kBlock].get() + place % kBlock; }
    bool full() const { return blocks_.size() >= UINT32_MAX / kBlock; }

private:
    static constexpr size_t kBlock = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t used_ = kBlock;
};

// Qt's hash of bytes: with a seed other than 0 it runs on the processor's AES instructions where
// there are any, several times as fast as the others over the long signatures.
constexpr size_t kSeed = 0x5eed;

uint64_t hashOf(const Raw& signature, int32_t cut, std::string_view key)
{
    const size_t s = signature.kind == Raw::Text
                         ? qHash(QByteArrayView(signature.text.data(), qsizetype(signature.text.size())), kSeed)
                     : signature.kind == Raw::Number ? qHash(signature.number, kSeed)
                                                     : 0;
    return qHashMulti(kSeed, s, cut, QByteArrayView(key.data(), qsizetype(key.size())));
}

bool sameValue(const Raw& a, const Raw& b)
{
    if (a.kind != b.kind)
        return false;
    return a.kind == Raw::Number ? a.number == b.number : a.kind == Raw::Null || a.text == b.text;
}

constexpr double kLongMin = -2147483648.0, kLongMax = 2147483647.0;
constexpr double kExact = 9007199254740992.0;   // 2^53: every whole number up to it is a double

bool whole(const Raw& v, double low, double high)
{
    return v.kind == Raw::Number && v.number == std::floor(v.number) && v.number >= low && v.number <= high;
}

struct Group {
    uint64_t hash;       // of signature, pieces cut and key
    int64_t firstRow;    // rowid of the group's first row
    double rate;         // 平均使用率 of that row, the group's lowest-numbered
    int32_t number, cut, sheets;
    uint32_t key;        // its packed key in the key store
};

// One pass over a table as the engine writes it; nothing for a table of another form.
std::optional<std::vector<PatternGroup>> groupInOnePass()
{
    cDao& dao = gDao();
    Statement st = dao.Prepare(QStringLiteral(
        "SELECT rowid, パターン番号, パターン種別, 部材切取数, 優先順位, 平均使用率, 母材使用数 FROM パターン ORDER BY rowid"));
    Statement reread = dao.Prepare(QStringLiteral("SELECT パターン種別 FROM パターン WHERE rowid=?1"));
    std::deque<Group> groups;   // grows without copying what it holds
    KeyStore keys;
    std::vector<uint32_t> table(1024);   // open addressing by hash: group index + 1, 0 for none
    auto slot = [&](size_t i) -> uint32_t& { return table[i & (table.size() - 1)]; };
    double last = -1;
    while (st.step()) {
        const Raw no = st.raw(1), signature = st.raw(2), cut = st.raw(3), key = st.raw(4);
        char* const packed = keys.end();
        const size_t packedSize = key.kind == Raw::Text ? packKey(key.text, packed) : 0;
        if (!whole(no, last + 1, kLongMax) || !whole(cut, kLongMin, kLongMax) || packedSize == 0)
            return std::nullopt;
        last = no.number;
        const uint64_t hash = hashOf(signature, int32_t(cut.number), key.text);
        // The row's group: the same hash, pieces and key, and the signature of its first row.
        auto sameGroup = [&](const Group& g) {
            if (g.hash != hash || g.cut != int32_t(cut.number) || std::memcmp(keys.at(g.key), packed, packedSize) != 0)
                return false;
            reread.bind(1, g.firstRow);
            const bool same = reread.step() && sameValue(reread.raw(0), signature);
            reread.reset();
            return same;
        };
        size_t i = hash;
        while (slot(i) != 0 && !sameGroup(groups[slot(i) - 1]))
            ++i;
        if (slot(i) != 0)
            continue;
        // A new group, with the list values of its first row.
        const Raw row = st.raw(0), rate = st.raw(5), sheets = st.raw(6);
        if (!whole(row, -kExact, kExact) || rate.kind != Raw::Number || !whole(sheets, kLongMin, kLongMax) ||
            keys.full())
            return std::nullopt;
        groups.push_back({hash, int64_t(row.number), rate.number, int32_t(no.number), int32_t(cut.number),
                          int32_t(sheets.number), keys.keep(packedSize)});
        slot(i) = uint32_t(groups.size());
        if (groups.size() * 2 > table.size()) {   // at most half full
            table.assign(table.size() * 2, 0);
            for (size_t g = 0; g < groups.size(); ++g) {
                size_t j = groups[g].hash;
                while (slot(j) != 0)
                    ++j;
                slot(j) = uint32_t(g + 1);
            }
        }
    }
    std::vector<uint32_t>().swap(table);
    // 部材切取数 descending, 優先順位 ascending, the number ascending.
    std::sort(groups.begin(), groups.end(), [&](const Group& a, const Group& b) {
        if (a.cut != b.cut)
            return a.cut > b.cut;
        if (const int c = compareKeys(keys.at(a.key), keys.at(b.key)))
            return c < 0;
        return a.number < b.number;
    });
    keys = KeyStore();
    std::vector<PatternGroup> out;
    out.reserve(groups.size());
    for (const Group& g : groups)
        out.push_back({g.number, true, Variant(g.rate), g.cut, g.sheets});
    return out;
}

}  // namespace

std::vector<PatternGroup> ReadPatternGroups()
{
    if (std::optional<std::vector<PatternGroup>> groups = groupInOnePass())
        return std::move(*groups);
    return ReadPatternGroupsByQuery();
}

std::vector<PatternGroup> ReadPatternGroupsByQuery()
{
    const cBase& b = gBase();
    Statement query = gDao().Prepare(QStringLiteral(
        "SELECT MIN(パターン番号) FROM パターン GROUP BY パターン種別, 部材切取数, 優先順位 "
        "ORDER BY 部材切取数 DESC, 優先順位, MIN(パターン番号)"));
    Statement lookup =
        gDao().Prepare(QStringLiteral("SELECT 平均使用率,部材切取数,母材使用数 FROM パターン WHERE パターン番号=?1"));
    std::vector<PatternGroup> out;
    while (query.step()) {
        PatternGroup& g = out.emplace_back();
        g.patternNo = b.CvtLng(query.column(0));
        lookup.bind(1, int64_t(g.patternNo));
        g.found = lookup.step();
        if (g.found) {
            g.rate = lookup.column(0);
            g.cut = b.CvtLng(lookup.column(1));
            g.sheets = b.CvtLng(lookup.column(2));
        }
        lookup.reset();
    }
    return out;
}
