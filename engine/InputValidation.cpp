// The check of the stock and part grids before a computation starts.
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "platform/core/MsgBox.h"

namespace {
constexpr int32_t kWhite = 16777215;

bool isEmptyText(const Variant& v)
{
    return v.isEmpty() || v.isNull() || (v.isString() && v.stringValue().isEmpty());
}

// Sizes are 16-bit throughout the engine.
bool sizeOk(int32_t v) { return v > 0 && v <= 32767; }
}

bool Engine::CheckInputValue()
{
    stop_ = StopReason::Running;
    try {
        const cBase& b = gBase();
        EngineRows& stock = host().stockRows();
        EngineRows& parts = host().partRows();
        const QString length = QStringLiteral("長さ"), width = QStringLiteral("幅"), count = QStringLiteral("数"),
                      colour = QStringLiteral("色値");
        auto fail = [this](const QString& text, EngineRows& focus) {
            stop_ = StopReason::InvalidInput;
            MsgBox(text, vbExclamation, QStringLiteral("入力エラー"));
            focus.setFocus();
            return false;
        };
        auto lng = [&](EngineRows& rows, int r, const QString& column) { return b.CvtLng(rows.value(r, column)); };

        const int ns = stock.rowCount();
        if (ns == 0)
            return fail(QStringLiteral("母材が入力されていません。"), stock);
        for (int r = 0; r < ns; ++r) {
            stock.setCurrentRow(r);
            const int32_t w = lng(stock, r, width), l = lng(stock, r, length), n = lng(stock, r, count);
            if (w > l)
                return fail(QStringLiteral("幅が長さよりより大きいです。"), stock);
            if (!sizeOk(w) || !sizeOk(l) || n < 0 || n > 32767 || (n == 0 && r + 1 != ns))
                return fail(QStringLiteral("母材が正しく入力されていません。"), stock);
            const double ratio = double(w) / double(l);
            if (ratio > 1000 || ratio < 0.001)
                return fail(QStringLiteral("母材の縦横比を1000倍以内で入力して下さい。"), stock);
            if (isEmptyText(stock.value(r, colour)))
                stock.setValue(r, colour, Variant(kWhite));
        }
        stock.setCurrentRow(ns);

        const int np = parts.rowCount();
        if (np == 0)
            return fail(QStringLiteral("部材が入力されていません。"), parts);
        int64_t pieces = 0;
        for (int r = 0; r < np; ++r) {
            parts.setCurrentRow(r);
            const int32_t w = lng(parts, r, width), l = lng(parts, r, length), n = lng(parts, r, count);
            if (!sizeOk(w) || !sizeOk(l) || n <= 0)
                return fail(QStringLiteral("部材が正しく入力されていません。"), parts);
            if (isEmptyText(parts.value(r, colour)))
                parts.setValue(r, colour, Variant(kWhite));
            pieces += n;
        }
        parts.setCurrentRow(np);

        // Every stock sheet can hold some part, every part fits some stock sheet (unrotated).
        for (int s = 0; s < ns; ++s) {
            stock.setCurrentRow(s);
            bool found = false;
            for (int p = 0; p < np && !found; ++p)
                found = lng(parts, p, length) <= lng(stock, s, length) && lng(parts, p, width) <= lng(stock, s, width);
            if (!found) {
                parts.setCurrentRow(np);
                return fail(QStringLiteral("全ての部材より小さい母材が入力されています。"), parts);
            }
        }
        stock.setCurrentRow(ns);
        for (int p = 0; p < np; ++p) {
            parts.setCurrentRow(p);
            bool found = false;
            for (int s = 0; s < ns && !found; ++s)
                found = lng(stock, s, length) >= lng(parts, p, length) && lng(stock, s, width) >= lng(parts, p, width);
            if (!found) {
                stock.setCurrentRow(ns);
                return fail(QStringLiteral("全ての母材より大きい部材が入力されています。"), stock);
            }
        }
        parts.setCurrentRow(np);

        // Piece positions are 16-bit: a larger job is refused before any work.
        if (pieces > 32767) {
            stop_ = StopReason::Overflow;
            MsgBox(CalculationOverflowText(), vbCritical, kCalculationOverflowTitle);
            parts.setFocus();
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        stop_ = StopReason::Error;
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("CheckInputValue"));
        return false;
    }
}
