// The cell size: the greatest common divisor of every stock and part size and the kerf, and the
// reduction of the engine's sizes to cells.
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"

bool Engine::GreatestCommonDivisor()
{
    try {
        EngineRows& stock = host().stockRows();
        EngineRows& parts = host().partRows();
        const size_t upper = 2 * size_t(StockTypeCount + PartTypeCount) + 1;
        std::vector<int16_t> list(upper + 1, 0);
        size_t p = 0;
        auto put = [&](const Variant& v) {
            if (p >= list.size())
                RaiseSubscript();
            list[p++] = CIntOf(v);
        };
        for (EngineRows* rows : {&stock, &parts}) {
            for (int r = 0; r < rows->rowCount(); ++r) {
                put(rows->value(r, QStringLiteral("長さ")));
                put(rows->value(r, QStringLiteral("幅")));
            }
            rows->setCurrentRow(rows->rowCount());
        }
        if (p >= list.size())
            RaiseSubscript();
        list[p] = KerfWidth;

        // The last slot is never written and takes no part.
        int16_t m = list[0];
        for (size_t i = 1; i < upper; ++i)
            if (list[i] != 0 && list[i] < m)
                m = list[i];
        int16_t d = m;
        for (; d >= 1; --d) {
            bool divides = true;
            for (size_t j = 0; j < upper && divides; ++j)
                divides = list[j] % d == 0;
            if (divides)
                break;
        }
        Unit = d;

        for (size_t i = 1; i < StockTbl.size(); ++i) {
            StockTbl[i].長さ = CellsOf(StockTbl[i].長さ, Unit);
            StockTbl[i].幅 = CellsOf(StockTbl[i].幅, Unit);
        }
        for (size_t i = 1; i < PartTbl.size(); ++i) {
            PartTbl[i].長さ = CellsOf(PartTbl[i].長さ, Unit);
            PartTbl[i].幅 = CellsOf(PartTbl[i].幅, Unit);
        }
        KerfWidth = CellsOf(KerfWidth, Unit);
        MaxStockWidth = CellsOfLong(MaxStockWidth, Unit);
        MaxStockLength = CellsOfLong(MaxStockLength, Unit);
        return true;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("GreatestCommonDivisor"));
        return false;
    }
}
