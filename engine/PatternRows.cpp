#include "engine/PatternRows.h"

#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/cBase.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <tuple>

double SqlDouble(double value) { return DoubleText(value).toDouble(); }

void PatternPieceRows(const Engine& e, const std::vector<PiecePlacement>& placements, std::vector<PatternPieceRow>& rows)
{
    const int32_t k = e.KerfWidth;
    rows.clear();
    rows.reserve(size_t(e.PiecePartTotal) * (k ? 5 : 1));
    for (int32_t i = 1; i <= e.PiecePartTotal; ++i) {
        const PiecePlacement& p = placements[size_t(i)];
        const int16_t part = e.PieceQueue[size_t(i)];
        const int32_t x0 = p.開始横, y0 = p.開始縦, x1 = p.終了横, y1 = p.終了縦;
        rows.push_back({e.PatternNo, p.連番, k == 0 ? p.部材番号 : part, p.母材番号, p.枝番, x0, y0, x1, y1,
                        e.PartTbl[size_t(part)].色値});
        if (k == 0)
            continue;
        // The frame of width k around the piece, in four bands that tile it.
        const int32_t bands[4][4] = {{x0 - k, y0 - k, x0, y1},
                                     {x0, y0 - k, x1 + k, y0},
                                     {x1, y0, x1 + k, y1 + k},
                                     {x0 - k, y1, x1, y1 + k}};
        for (const auto& b : bands)
            rows.push_back({e.PatternNo, p.連番, kKerfPart, p.母材番号, p.枝番, b[0], b[1], b[2], b[3], e.KerfColor});
    }
}

void PatternSheetRows(const Engine& e, const std::vector<SheetResult>& sheets, std::vector<PatternSheetRow>& rows)
{
    rows.clear();
    for (size_t s = 1; s < sheets.size(); ++s) {
        const SheetResult& r = sheets[s];
        rows.push_back({e.PatternNo, r.連番, r.母材番号, r.枝番, r.最大平方, r.平方数, r.使用面積, SqlDouble(r.使用率),
                        r.切代面積, SqlDouble(r.切代率), r.端材面積, SqlDouble(r.端材率), r.余材面積,
                        SqlDouble(r.余材率)});
    }
}

QString PatternSignature(const std::vector<PatternPieceRow>& pieces)
{
    std::vector<const PatternPieceRow*> order;
    order.reserve(pieces.size());
    for (const PatternPieceRow& r : pieces)
        order.push_back(&r);
    auto key = [](const PatternPieceRow* r) {
        return std::tie(r->部材番号, r->連番, r->開始縦, r->開始横, r->終了縦, r->終了横);
    };
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return key(a) < key(b); });
    std::string text;
    text.reserve(order.size() * 24);
    char buf[16];
    for (const PatternPieceRow* r : order) {
        for (int32_t v : {r->部材番号, r->連番, r->開始横, r->開始縦, r->終了横, r->終了縦}) {
            const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
            text.append(buf, end);
            text.push_back(',');
        }
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

QString PriorityKey(const QString& sortKeyList, const std::vector<PatternSheetRow>& sheets)
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
    int32_t used = 0;
    double sumUsed = 0, sumKerf = 0, sumOffcut = 0;
    QString text;
    for (const PatternSheetRow& r : sheets) {
        if (r.使用面積 == 0)
            continue;
        ++used;
        sumUsed += r.使用率;
        sumKerf += r.切代率;
        sumOffcut += r.端材率;
        for (Criterion c : criteria) {
            switch (c) {
            case Fragments: text += FormatNumber(r.平方数, QStringLiteral("000")); break;
            case Used: text += FormatNumber(sumUsed, QStringLiteral("000.00")); break;
            case Kerf: text += FormatNumber(sumKerf, QStringLiteral("000.00")); break;
            case Offcut: text += FormatNumber(sumOffcut, QStringLiteral("000.00")); break;
            }
            text += QLatin1Char(',');
        }
    }
    return FormatNumber(used, QStringLiteral("000")) + QLatin1Char(',') + text;
}

PatternRow PatternSummary(const Engine& e, const std::vector<PatternPieceRow>& pieces,
                          const std::vector<PatternSheetRow>& sheets)
{
    PatternRow row;
    row.パターン番号 = e.PatternNo;
    row.パターン種別 = PatternSignature(pieces);
    row.優先順位 = PriorityKey(e.Settings.SortKeyList, sheets).left(255);
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
