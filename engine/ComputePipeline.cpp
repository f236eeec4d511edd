// The two middle steps of a computation: preparation (tables, kerf, cell size, cleared results)
// and the run count with the search.
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"
#include "platform/core/MsgBox.h"

namespace {
// The settings dialog offers only these values; anything else would make no layout or loop for ever.
// 表示母材 0 is one of them (the list then shows no sheet columns).
bool settingsInRange(const SystemSettings& s)
{
    return (s.CutPosition == kCutLeft || s.CutPosition == kCutTop) && s.CutOrder >= kOrderGiven &&
           s.CutOrder <= kOrderEveryPiece && s.CutOrderDetail >= 0 && s.CutOrderDetail <= kOrderByAll &&
           (s.CutOrder != kOrderGiven || s.CutOrderDetail != 0) && s.RotationMode >= kRotationSimple &&
           s.RotationMode <= kRotationEveryPiece && s.SlitMode >= kSlitNone && s.SlitMode <= kSlitVertical &&
           s.DisplaySheets >= 0;
}
}

bool Engine::BeforeCompute()
{
    stop_ = StopReason::Running;
    try {
        progress().setProgress1Max(100);
        progress().updateProgress1(0);
        progress().setProgress2Max(100);
        progress().updateProgress2(0);
        progress().setStepText(QString());
        progress().setStepText(QStringLiteral("入力データ登録中"));
        bool result = settingsInRange(Settings);
        if (!result)
            SetErrLog(QStringLiteral("システム設定の値が範囲外です。"), kEngineWindow, QStringLiteral("BeforeCompute"));
        result = result && SetBozai();
        result = result && LoadParts(false);
        result = result && SetLineWidth();
        result = result && GreatestCommonDivisor();
        progress().setStepText(QStringLiteral("初期化中"));
        InitPatern();
        if (!result) {
            stop_ = StopReason::PreparationFailed;
            MsgBox(QStringLiteral("計算前処理に失敗しました。"), vbCritical, QStringLiteral("処理失敗"));
        }
        return result;
    } catch (const std::exception& e) {
        stop_ = StopReason::Error;
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("BeforeCompute"));
        return false;
    }
}

bool Engine::Compute()
{
    stop_ = StopReason::Running;
    try {
        progress().setStepText(QStringLiteral("計算中"));
        if (!SearchPaternMax())
            return false;
        progress().setProgress1Max(CombinationCount);
        progress().setProgress2Max(PiecePartTotal);
        const bool result = CreatePatern();
        if (!result)
            MsgBox(QStringLiteral("計算処理に失敗しました。"), vbCritical, QStringLiteral("処理失敗"));
        return result;
    } catch (const std::exception& e) {
        stop_ = StopReason::Error;
        SetErrLog(ErrorDescription(e), kEngineWindow, QStringLiteral("Compute"));
        return false;
    }
}
