#include "engine/Engine.h"

#include "engine/PatternStore.h"

#include <stdexcept>
#include <utility>

namespace {
// Progress of a computation without a progress window.
class NoProgress : public EngineProgress {
public:
    void setStepText(const QString&) override {}
    void setProgress1Max(int32_t) override {}
    void setProgress2Max(int32_t) override {}
    void updateProgress1(int32_t) override {}
    void updateProgress2(int32_t) override {}
    bool cancel() const override { return false; }
    void setCancel(bool) override {}
    void pumpEvents() override {}
};
NoProgress noProgress;
}

Engine::Engine() : progress_(&noProgress) {}
Engine::~Engine() = default;

void Engine::SetProgress(EngineProgress* progress) { progress_ = progress ? progress : &noProgress; }

EngineHost& Engine::host()
{
    if (!host_)
        throw std::logic_error("the engine has no host");
    return *host_;
}

PatternStore& Engine::patternStore(std::unique_ptr<PatternStore>& own)
{
    if (activeStore_)
        return *activeStore_;
    if (store_)
        return *store_;
    own = std::make_unique<SqlitePatternStore>();
    return *own;
}

void Engine::Erase()
{
    StockTbl.clear();
    PartTbl.clear();
    StockQueue.clear();
    PieceQueue.clear();
    PieceRotated.clear();
    Grid = LayoutSheet();
}

Engine& gEngine()
{
    static Engine engine;
    return engine;
}

int16_t SortKeyFlagsOf(const QString& sortKeyList)
{
    static const QString criteria[] = {kSortKeyFragments, kSortKeyUsed, kSortKeyKerf, kSortKeyOffcut};
    const QStringList items = sortKeyList.split(QLatin1Char(','));
    int16_t flags = 0;
    for (qsizetype i = 1; i < items.size(); ++i)
        for (int b = 0; b < 4; ++b)
            if (items[i] == criteria[b])
                flags = int16_t(flags + (1 << b));
    return flags;
}

QString StopReasonName(StopReason reason)
{
    static const std::pair<StopReason, QString> names[] = {
        {StopReason::Running, QStringLiteral("running")},
        {StopReason::Done, QStringLiteral("done")},
        {StopReason::InvalidInput, QStringLiteral("invalid input")},
        {StopReason::Overflow, QStringLiteral("overflow")},
        {StopReason::PreparationFailed, QStringLiteral("preparation failed")},
        {StopReason::SearchFailed, QStringLiteral("search failed")},
        {StopReason::StoreFailed, QStringLiteral("store failed")},
        {StopReason::StoppedKept, QStringLiteral("stopped, kept")},
        {StopReason::StoppedDiscarded, QStringLiteral("stopped, discarded")},
        {StopReason::Error, QStringLiteral("error")},
    };
    for (const auto& [r, name] : names)
        if (r == reason)
            return name;
    return QStringLiteral("unknown");
}

QString CalculationOverflowText()
{
    return QStringLiteral("計算量が多すぎます。以下の条件を変更してください。\r\n"
                          "１．「部材」の種類を減らす。\r\n"
                          "２．「部材」の数を減らす。\r\n"
                          "３．「部材の回転」のチェックを減らす。\r\n"
                          "４．システム設定の「部材の切取順序」を変更する。\r\n"
                          "５．システム設定の「部材の回転方式」を変更する。");
}
