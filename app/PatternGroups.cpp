#include "app/PatternGroups.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"

#include <QByteArray>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// A column value kept, ordered as SQLite orders it: null, then numbers by value, then text by its
// UTF-8 bytes.
struct SqlValue {
    Statement::Raw::Kind kind = Statement::Raw::Null;
    double number = 0;
    QByteArray text;

    SqlValue() = default;
    explicit SqlValue(const Statement::Raw& r) : kind(r.kind), number(r.number)
    {
        if (kind == Statement::Raw::Text)
            text = QByteArray(r.text.data(), qsizetype(r.text.size()));
    }
    int compare(const SqlValue& o) const   // <0, 0, >0
    {
        if (kind != o.kind)
            return int(kind) - int(o.kind);
        if (kind == Statement::Raw::Number)
            return number < o.number ? -1 : number > o.number ? 1 : 0;
        return kind == Statement::Raw::Text ? text.compare(o.text) : 0;
    }
    bool equals(const Statement::Raw& r) const
    {
        if (kind != r.kind)
            return false;
        if (kind == Statement::Raw::Number)
            return number == r.number;
        return kind != Statement::Raw::Text || QByteArrayView(text) == QByteArrayView(r.text.data(), qsizetype(r.text.size()));
    }
    Variant variant() const
    {
        switch (kind) {
        case Statement::Raw::Number: return Variant(number);
        case Statement::Raw::Text: return Variant(QString::fromUtf8(text));
        default: return Variant::null();
        }
    }
};

size_t hashOf(const Statement::Raw& r)
{
    if (r.kind == Statement::Raw::Text)
        return qHash(QByteArrayView(r.text.data(), qsizetype(r.text.size())));
    return r.kind == Statement::Raw::Number ? qHash(r.number) : 0;
}

struct Group {
    SqlValue signature, cut, key;
    SqlValue lowest;               // MIN(パターン番号): null while no row of the group has a number
    SqlValue rate, listCut, sheets;  // the list values of the row with the lowest number
};

}  // namespace

std::vector<PatternGroup> ReadPatternGroups()
{
    Statement st = gDao().Prepare(QStringLiteral(
        "SELECT パターン番号, パターン種別, 部材切取数, 優先順位, 平均使用率, 母材使用数 FROM パターン ORDER BY rowid"));
    std::vector<Group> groups;
    std::unordered_multimap<size_t, size_t> byHash;   // hash of the three grouping values -> group
    // Whole numbers rising in storage order, as the engine stores them: then every number names one
    // row, and each group's lowest-numbered row is the one the list looks up by that number.
    bool numbered = true;
    double last = -1;
    while (st.step()) {
        const Statement::Raw no = st.raw(0), signature = st.raw(1), cut = st.raw(2), key = st.raw(3);
        const size_t hash = qHashMulti(0, hashOf(signature), hashOf(cut), hashOf(key));
        Group* group = nullptr;
        for (auto [it, end] = byHash.equal_range(hash); it != end && !group; ++it) {
            Group& g = groups[it->second];
            if (g.signature.equals(signature) && g.cut.equals(cut) && g.key.equals(key))
                group = &g;
        }
        if (!group) {
            byHash.emplace(hash, groups.size());
            group = &groups.emplace_back(Group{SqlValue(signature), SqlValue(cut), SqlValue(key)});
        }
        const SqlValue number(no);
        numbered = numbered && no.kind == Statement::Raw::Number && no.number > last && no.number == std::floor(no.number) &&
                   no.number <= 2147483647.0;
        last = no.number;
        if (number.kind != Statement::Raw::Null && (group->lowest.kind == Statement::Raw::Null || number.compare(group->lowest) < 0)) {
            group->lowest = number;
            if (numbered) {
                group->rate = SqlValue(st.raw(4));
                group->listCut = SqlValue(cut);
                group->sheets = SqlValue(st.raw(5));
            }
        }
    }
    // 部材切取数 descending, 優先順位 ascending, the lowest number ascending.
    std::sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
        if (const int c = a.cut.compare(b.cut))
            return c > 0;
        if (const int c = a.key.compare(b.key))
            return c < 0;
        return a.lowest.compare(b.lowest) < 0;
    });
    const cBase& b = gBase();
    std::vector<PatternGroup> out(groups.size());
    Statement lookup;
    if (!numbered)
        lookup = gDao().Prepare(QStringLiteral("SELECT 平均使用率,部材切取数,母材使用数 FROM パターン WHERE パターン番号=?1"));
    for (size_t i = 0; i < groups.size(); ++i) {
        PatternGroup& g = out[i];
        g.patternNo = b.CvtLng(groups[i].lowest.variant());
        if (numbered) {
            g.found = true;
            g.rate = groups[i].rate.variant();
            g.cut = groups[i].listCut.variant();
            g.sheets = groups[i].sheets.variant();
        } else {
            lookup.bind(1, int64_t(g.patternNo));
            g.found = lookup.step();
            if (g.found) {
                g.rate = lookup.column(0);
                g.cut = lookup.column(1);
                g.sheets = lookup.column(2);
            }
            lookup.reset();
        }
    }
    return out;
}
