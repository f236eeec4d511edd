#include "engine/SheetScene.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"

#include <algorithm>

namespace {

std::map<int16_t, SheetScene> readSheets(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf)
{
    const cBase& b = gBase();
    QString sql = QStringLiteral("SELECT 連番,母材番号,枝番,部材番号,開始横,開始縦,終了横,終了縦,色 FROM パターン部材"
                                 " WHERE パターン番号=?1 AND ");
    sql += sheet > 0 ? QStringLiteral("連番=?2") : QStringLiteral("連番>=1");
    sql += QStringLiteral(" ORDER BY 連番,部材番号,rowid");
    Statement st = gDao().Prepare(sql);
    st.bind(1, int64_t(patternNo));
    if (sheet > 0)
        st.bind(2, int64_t(sheet));
    std::map<int16_t, SheetScene> out;
    while (st.step()) {
        const int16_t k = b.CvtInt(st.column(0));
        const int16_t m = b.CvtInt(st.column(1)), branch = b.CvtInt(st.column(2));
        auto [it, fresh] = out.try_emplace(k);
        SheetScene& scene = it->second;
        if (fresh) {
            // The sheet is the one of its first row.
            scene.sheet = k;
            scene.stockNo = m;
            scene.branch = branch;
            const SheetStock stock = stockOf(m);
            scene.length = stock.length;
            scene.width = stock.width;
            scene.stockColor = stock.color;
        } else if (m != scene.stockNo || branch != scene.branch) {
            continue;
        }
        SheetRect r;
        r.part = b.CvtInt(st.column(3));
        r.startX = b.CvtInt(st.column(4));
        r.startY = b.CvtInt(st.column(5));
        r.endX = b.CvtInt(st.column(6));
        r.endY = b.CvtInt(st.column(7));
        r.color = b.CvtLng(st.column(8));
        scene.rects.push_back(r);
    }
    return out;
}

}  // namespace

SheetScene ReadSheet(int32_t patternNo, int16_t sheet, const SheetStockOf& stockOf)
{
    std::map<int16_t, SheetScene> one = readSheets(patternNo, std::max<int16_t>(sheet, 1), stockOf);
    if (sheet < 1 || one.empty()) {
        SheetScene none;
        none.sheet = sheet;
        return none;
    }
    return std::move(one.begin()->second);
}

std::map<int16_t, SheetScene> ReadPatternSheets(int32_t patternNo, const SheetStockOf& stockOf)
{
    return readSheets(patternNo, 0, stockOf);
}
