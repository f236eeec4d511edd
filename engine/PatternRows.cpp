#include "engine/PatternRows.h"

#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/cBase.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <string>
#include <tuple>
#include <unordered_map>

double SqlDouble(double value)
{
    // The literal is DoubleText's "%.15G" ("0" for both zeros); reading it back rounds to nearest.
    if (value == 0.0 || !std::isfinite(value))
        return value == 0.0 ? 0.0 : value;
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15).ptr;
    double back = 0;
    std::from_chars(text, end, back);
    return back;
}

void AppendKerfRows(PatternPieceRow p, int32_t k, int32_t colour, std::vector<PatternPieceRow>& rows)
{
    // The frame of width k around the piece, in four bands that tile it.
    const int32_t x0 = p.開始横, y0 = p.開始縦, x1 = p.終了横, y1 = p.終了縦;
    const int32_t bands[4][4] = {{x0 - k, y0 - k, x0, y1},
                                 {x0, y0 - k, x1 + k, y0},
                                 {x1, y0, x1 + k, y1 + k},
                                 {x0 - k, y1, x1, y1 + k}};
    for (const auto& b : bands)
        rows.push_back({p.パターン番号, p.連番, kKerfPart, p.母材番号, p.枝番, b[0], b[1], b[2], b[3], colour});
}

void PatternPieceRows(const Engine& e, const std::vector<PiecePlacement>& placements, std::vector<PatternPieceRow>& rows)
{
    const int32_t k = e.KerfWidth;
    rows.clear();
    rows.reserve(size_t(e.PiecePartTotal) * (k ? 5 : 1));
    for (int32_t i = 1; i <= e.PiecePartTotal; ++i) {
        const PiecePlacement& p = placements[size_t(i)];
        const int16_t part = e.PieceQueue[size_t(i)];
        rows.push_back({e.PatternNo, p.連番, k == 0 ? p.部材番号 : part, p.母材番号, p.枝番, p.開始横, p.開始縦,
                        p.終了横, p.終了縦, e.PartTbl[size_t(part)].色値});
        if (k != 0)
            AppendKerfRows(rows.back(), k, e.KerfColor, rows);
    }
}

void PatternSheetRows(const Engine& e, const std::vector<SheetResult>& sheets, std::vector<PatternSheetRow>& rows)
{
    rows.clear();
    for (size_t s = 1; s < sheets.size(); ++s) {
        const SheetResult& r = sheets[s];
        const SheetAreas areas{r.使用面積, SqlDouble(r.使用率), r.切代面積, SqlDouble(r.切代率),
                               r.端材面積, SqlDouble(r.端材率), r.余材面積, SqlDouble(r.余材率)};
        rows.push_back({areas, e.PatternNo, r.連番, r.母材番号, r.枝番, r.最大平方, r.平方数});
    }
}

std::string PatternSignature(const std::vector<PatternPieceRow>& pieces)
{
    // A row as three words that compare as its sort key does: (部材番号, 連番), (開始縦, 開始横),
    // (終了縦, 終了横), each value with its sign bit flipped so that it orders as unsigned.
    struct Key {
        uint64_t a, b, c;
        bool operator<(const Key& o) const { return std::tie(a, b, c) < std::tie(o.a, o.b, o.c); }
    };
    auto word = [](int32_t high, int32_t low) {
        return uint64_t(uint32_t(high) ^ 0x80000000u) << 32 | (uint32_t(low) ^ 0x80000000u);
    };
    auto high = [](uint64_t w) { return int32_t(uint32_t(w >> 32) ^ 0x80000000u); };
    auto low = [](uint64_t w) { return int32_t(uint32_t(w) ^ 0x80000000u); };
    std::vector<Key> keys;
    keys.reserve(pieces.size());
    for (const PatternPieceRow& r : pieces)
        keys.push_back({word(r.部材番号, r.連番), word(r.開始縦, r.開始横), word(r.終了縦, r.終了横)});
    std::sort(keys.begin(), keys.end());
    std::string text;
    text.reserve(keys.size() * 24);
    char buf[16];
    for (const Key& k : keys) {
        for (int32_t v : {high(k.a), low(k.a), low(k.b), high(k.b), low(k.c), high(k.c)}) {
            const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
            text.append(buf, end);
            text.push_back(',');
        }
    }
    return text;
}

namespace {

// FormatNumber's text of a value of the key ("000" or "000.00"), remembered: the same sums come
// back layout after layout.
const std::string& keyNumber(double value, bool hundredths)
{
    thread_local std::unordered_map<uint64_t, std::string> memo[2];
    std::unordered_map<uint64_t, std::string>& m = memo[hundredths];
    const uint64_t bits = std::bit_cast<uint64_t>(value);
    if (const auto it = m.find(bits); it != m.end())
        return it->second;
    if (m.size() >= 65536)
        m.clear();
    return m.emplace(bits, FormatNumber(value, hundredths ? QStringLiteral("000.00") : QStringLiteral("000")).toStdString())
        .first->second;
}

}

std::string PriorityKey(const QString& sortKeyList, const std::vector<PatternSheetRow>& sheets)
{
    enum Criterion { Fragments, Used, Kerf, Offcut };
    std::vector<Criterion> criteria;
    const QStringList items = sortKeyList.split(QLatin1Char(','));
    for (qsizetype i = 1; i < items.size(); ++i) {
        if (items[i] == kSortKeyFragments)
            criteria.push_back(Fragments);
        else if (items[i] == kSortKeyUsed)
            criteria.push_back(Used);
        else if (items[i] == kSortKeyKerf)
            criteria.push_back(Kerf);
        else if (items[i] == kSortKeyOffcut)
            criteria.push_back(Offcut);
    }
    auto append = [](std::string& to, const std::string& number) {
        to += number;
        to.push_back(',');
    };
    int32_t used = 0;
    double sumUsed = 0, sumKerf = 0, sumOffcut = 0;
    std::string text;
    for (const PatternSheetRow& r : sheets) {
        if (r.使用面積 == 0)
            continue;
        ++used;
        sumUsed += r.使用率;
        sumKerf += r.切代率;
        sumOffcut += r.端材率;
        for (Criterion c : criteria) {
            switch (c) {
            case Fragments: append(text, keyNumber(r.平方数, false)); break;
            case Used: append(text, keyNumber(sumUsed, true)); break;
            case Kerf: append(text, keyNumber(sumKerf, true)); break;
            case Offcut: append(text, keyNumber(sumOffcut, true)); break;
            }
        }
    }
    std::string key;
    append(key, keyNumber(used, false));
    return key + text;
}

PatternRow PatternSummary(const Engine& e, const std::vector<PatternPieceRow>& pieces,
                          const std::vector<PatternSheetRow>& sheets)
{
    PatternRow row;
    row.パターン番号 = e.PatternNo;
    row.パターン種別 = PatternSignature(pieces);
    row.優先順位 = PriorityKey(e.Settings.SortKeyList, sheets).substr(0, 255);
    int32_t used = 0;
    double sums[4] = {0, 0, 0, 0};
    for (const PatternSheetRow& r : sheets) {
        if (r.使用面積 == 0)
            continue;
        ++used;
        sums[0] += r.使用率;
        sums[1] += r.切代率;
        sums[2] += r.端材率;
        sums[3] += r.余材率;
    }
    if (used == 0)
        RaiseDivisionByZero();
    row.母材使用数 = CIntOf(double(used));
    row.平均使用率 = SqlDouble(sums[0] / used);
    row.平均切代率 = SqlDouble(sums[1] / used);
    row.平均端材率 = SqlDouble(sums[2] / used);
    row.平均余材率 = SqlDouble(sums[3] / used);
    for (const PatternPieceRow& r : pieces)
        row.部材切取数 += r.母材番号 != 0 && r.部材番号 != kKerfPart;
    return row;
}
