// Loading the stock and the parts into the engine tables and queues, the kerf from the kerf
// panel, and clearing the result tables before a computation.
#include "engine/Engine.h"
#include "engine/PatternStore.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"

namespace {
template <class T>
T& element(std::vector<T>& v, int index)
{
    if (index < 0 || size_t(index) >= v.size())
        RaiseSubscript();
    return v[size_t(index)];
}
}

bool Engine::SetBozai()
{
    try {
        const cBase& b = gBase();
        EngineRows& rows = host().stockRows();
        const int n = rows.rowCount();
        StockTypeCount = 0;
        StockPieceTotal = 0;
        for (int r = 0; r < n; ++r) {
            StockTypeCount = int16_t(StockTypeCount + 1);
            StockPieceTotal += b.CvtLng(rows.value(r, QStringLiteral("数")));
        }
        if (StockPieceTotal < 0)
            RaiseSubscript();
        StockTbl.assign(size_t(StockTypeCount) + 1, StockRec());
        StockQueue.assign(size_t(StockPieceTotal) + 2, 0);
        size_t q = 1;
        for (int r = 0; r < n; ++r) {
            const int16_t no = CIntOf(rows.value(r, QStringLiteral("母材番号")));
            const int32_t count = b.CvtLng(rows.value(r, QStringLiteral("数")));
            for (int32_t c = 0; c < (count == 0 ? 1 : count); ++c)
                element(StockQueue, int(q++)) = no;
            StockRec& s = element(StockTbl, no);
            s.数 = b.CvtInt(rows.value(r, QStringLiteral("数")));
            s.色値 = b.CvtLng(rows.value(r, QStringLiteral("色値")));
            s.長さ = b.CvtInt(rows.value(r, QStringLiteral("長さ")));
            s.幅 = b.CvtInt(rows.value(r, QStringLiteral("幅")));
        }
        // Over the whole table, not only the rows shown.
        MaxStockLength = CLngOf(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("MAX(長さ)"), QString()));
        MaxStockWidth = CLngOf(gDao().Lookup(QStringLiteral("母材"), QStringLiteral("MAX(幅)"), QString()));
        return true;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("SetBozai"));
        return false;
    }
}

bool Engine::LoadParts(bool next) { return LoadPartOrder(next) == PartLoad::Loaded; }

Engine::PartLoad Engine::LoadPartOrder(bool next)
{
    try {
        const int detail = Settings.CutOrderDetail;
        int16_t bit = 0;
        if (Settings.CutOrder != kOrderGiven) {
            bit = kOrderByNumber;
        } else if (!next) {
            bit = (detail & kOrderByNumber) ? kOrderByNumber
                  : (detail & kOrderByArea) ? kOrderByArea
                  : (detail & kOrderByWidth) ? kOrderByWidth
                                             : kOrderByLength;
        } else {
            if (PartOrderBit == kOrderByNumber || PartOrderBit == kOrderByArea || PartOrderBit == kOrderByWidth)
                for (int16_t b : {kOrderByArea, kOrderByWidth, kOrderByLength})
                    if (b > PartOrderBit && (detail & b)) {
                        bit = b;
                        break;
                    }
            if (bit == 0)
                return PartLoad::NoFurtherOrder;
        }
        PartOrderBit = bit;
        QString order;
        switch (bit) {
        case kOrderByNumber: order = QStringLiteral(" 部材番号"); break;
        case kOrderByArea: order = QStringLiteral(" 幅*長さ DESC,部材番号"); break;
        case kOrderByWidth: order = QStringLiteral(" 幅 DESC,部材番号"); break;
        default: order = QStringLiteral(" 長さ DESC,部材番号"); break;
        }
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT") + QStringLiteral(" *") + QStringLiteral(" FROM ") +
                                                QStringLiteral("部材") + QStringLiteral(" ORDER BY") + order,
                                            dbOpenDynaset, dbReadOnly, dbReadOnly);
        const cBase& b = gBase();
        PartTypeCount = 0;
        PiecePartTotal = 0;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            PartTypeCount = CIntOf(double(PartTypeCount) + 1);
            PiecePartTotal += b.CvtLng(rs.field(QStringLiteral("数")));
        }
        if (PiecePartTotal < 0)
            RaiseSubscript();
        PartTbl.assign(size_t(PartTypeCount) + 1, PartRec());
        PieceQueue.assign(size_t(PiecePartTotal) + 1, 0);
        PieceRotated.assign(size_t(PiecePartTotal) + 1, false);
        int q = 1;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
            const int16_t no = CIntOf(rs.field(QStringLiteral("部材番号")));
            const int32_t count = b.CvtLng(rs.field(QStringLiteral("数")));
            for (int32_t c = 0; c < count; ++c) {
                element(PieceQueue, q) = no;
                PieceRotated[size_t(q)] = false;
                ++q;
            }
            PartRec& p = element(PartTbl, no);
            p.数 = b.CvtInt(rs.field(QStringLiteral("数")));
            p.色値 = b.CvtLng(rs.field(QStringLiteral("色値")));
            p.長さ = b.CvtInt(rs.field(QStringLiteral("長さ")));
            p.幅 = b.CvtInt(rs.field(QStringLiteral("幅")));
            p.Rotatable = b.CvtLng(rs.field(QStringLiteral("回転"))) == -1 && p.長さ != p.幅;
            p.TryRotate = false;
        }
        if (next) {
            for (size_t i = 1; i < PartTbl.size(); ++i) {
                PartTbl[i].長さ = CellsOf(PartTbl[i].長さ, Unit);
                PartTbl[i].幅 = CellsOf(PartTbl[i].幅, Unit);
            }
        }
        return PartLoad::Loaded;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("LoadParts"));
        return PartLoad::Failed;
    }
}

bool Engine::SetLineWidth()
{
    try {
        KerfColor = host().kerfColor();
        const int16_t width = CIntOf(host().kerfWidth());
        // A negative kerf would make the cell size negative and every size with it.
        if (width < 0)
            throw EngineError(QStringLiteral("切代の幅が負の値です。"));
        KerfWidth = width;
        return true;
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("SetLineWidth"));
        return false;
    }
}

void Engine::InitPatern()
{
    host().setMousePointer(11);
    ListSheetColumns = 1;
    PatternNo = 0;
    try {
        progress().setProgress1Max(PatternStore::kResultTables);
        progress().updateProgress1(0);
        std::unique_ptr<PatternStore> own;
        patternStore(own).Clear([this](int cleared) { progress().updateProgress1(cleared); });
    } catch (const std::exception& e) {
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("InitPatern"));
    }
    host().setMousePointer(0);
}
