#include "app/ListThumbnails.h"

#include "engine/Engine.h"
#include "platform/gui/Handler.h"

#include <algorithm>

namespace {

constexpr int kImageBudgetKb = 192 * 1024;   // about 800 thumbnails of the largest size

}  // namespace

ListStock ListStockOf(const Engine& engine)
{
    ListStock out;
    auto add = [&](int16_t no) {
        if (no <= 0 || size_t(no) >= engine.StockTbl.size())
            return;
        for (const ListStockRow& r : out)
            if (r.no == no)
                return;
        const StockRec& s = engine.StockTbl[size_t(no)];
        out.push_back({no, s.数, s.長さ, s.幅, s.色値});
    };
    for (size_t i = 1; i < engine.StockQueue.size(); ++i)
        add(engine.StockQueue[i]);
    if (out.empty())
        for (size_t no = 1; no < engine.StockTbl.size(); ++no)
            add(int16_t(no));
    return out;
}

ListThumbnails::ListThumbnails() : images_(kImageBudgetKb) {}

void ListThumbnails::reset(const ListStock& stock)
{
    clear();
    stock_ = stock;
}

void ListThumbnails::clear()
{
    stock_.clear();
    patterns_.clear();
    dropImages();
}

void ListThumbnails::dropImages()
{
    images_.clear();
    hasLook_ = false;
}

const std::map<int16_t, SheetScene>& ListThumbnails::sheetsOf(int32_t patternNo)
{
    auto it = patterns_.find(patternNo);
    if (it != patterns_.end())
        return it->second;
    const SheetStockOf stockOf = [this](int16_t no) {
        for (const ListStockRow& r : stock_)
            if (r.no == no)
                return SheetStock{r.length, r.width, r.color};
        throw VbError::SubscriptOutOfRange();
    };
    std::map<int16_t, SheetScene> sheets = ReadPatternSheets(patternNo, stockOf);
    ++reads_;
    return patterns_.emplace(patternNo, std::move(sheets)).first->second;
}

QImage ListThumbnails::image(int32_t patternNo, int16_t sheet, const SheetLook& look)
{
    if (!hasLook_ || !(look == look_)) {
        images_.clear();
        look_ = look;
        hasLook_ = true;
    }
    const Key key{patternNo, sheet};
    if (const QImage* cached = images_.object(key))
        return *cached;
    const std::map<int16_t, SheetScene>& sheets = sheetsOf(patternNo);
    auto it = sheets.find(sheet);
    if (it == sheets.end())
        return QImage();
    auto* drawn = new QImage(DrawSheet(it->second, look));
    ++drawn_;
    const QImage result = *drawn;
    images_.insert(key, drawn, std::max<qsizetype>(1, drawn->sizeInBytes() / 1024));
    return result;
}
