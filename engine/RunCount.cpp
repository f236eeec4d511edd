// The number of layout runs of the search: piece orders times rotation states per order.
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "platform/core/MsgBox.h"

#include <cmath>

bool Engine::SearchPaternMax()
{
    try {
        EngineRows& rows = host().partRows();
        const int n = rows.rowCount();
        if (n == 0) {
            CombinationCount = 0;
            return true;
        }
        const cBase& b = gBase();
        int32_t c = 1;
        try {
            switch (Settings.CutOrder) {
            case kOrderGiven:
                c = 0;
                for (int bit : {kOrderByNumber, kOrderByArea, kOrderByWidth, kOrderByLength})
                    c += (Settings.CutOrderDetail & bit) ? 1 : 0;
                break;
            case kOrderPartsTogether:
                for (int k = 1; k <= n; ++k)
                    c = MulLong(c, k);
                break;
            case kOrderEveryPiece: {
                // Distinct orders of all pieces: PiecePartTotal! over the product of 数!.
                const int16_t total = CIntOf(double(PiecePartTotal));
                int row = 0;
                int32_t j = 0;
                for (int i = 1; i <= total; ++i) {
                    if (row >= n)
                        RaiseSubscript();
                    const int32_t q = b.CvtLng(rows.value(row, QStringLiteral("数")));
                    if (j == q) {
                        j = 1;
                        ++row;
                    } else {
                        ++j;
                    }
                    c = CLngOf(double(i) / double(j) * double(c));
                }
                break;
            }
            default:
                break;
            }
            for (int i = 1; i <= PartTypeCount; ++i) {
                if (!PartTbl[size_t(i)].Rotatable)
                    continue;
                switch (Settings.RotationMode) {
                case kRotationSimple: c = MulLong(c, 2); break;
                case kRotationPanelo: c = MulLong(c, 4); break;
                case kRotationEveryPiece: c = CLngOf(double(c) * std::pow(2.0, double(PartTbl[size_t(i)].数))); break;
                default: break;
                }
            }
        } catch (const OverflowError&) {
            stop_ = StopReason::Overflow;
            MsgBox(CalculationOverflowText(), vbCritical, kCalculationOverflowTitle);
            return false;
        }
        CombinationCount = c;
        return true;
    } catch (const std::exception& e) {
        stop_ = StopReason::Error;
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("SearchPaternMax"));
        return false;
    }
}
