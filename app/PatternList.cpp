#include "app/PatternList.h"

#include "app/SystemSettings.h"
#include "platform/core/Database.h"
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/Handler.h"
#include "platform/gui/TDBGrid.h"
#include "ui/LoggedCall.h"

#include <QFontMetrics>
#include <QWidget>
#include <cmath>
#include <limits>

namespace {

const QString kWindow = QStringLiteral("frmTavo");
constexpr int kFirstSheetColumn = 3;
constexpr uint32_t kYellow = 65535;

VbError divisionByZero() { return VbError(11, QStringLiteral("Division by zero")); }
VbError overflow() { return VbError(6, QStringLiteral("Overflow")); }

template <typename T>
void release(std::vector<T>& v) { std::vector<T>().swap(v); }

int16_t narrow(int32_t v)
{
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        throw overflow();
    return int16_t(v);
}

int32_t product(int32_t a, int32_t b)
{
    const int64_t p = int64_t(a) * b;
    if (p < std::numeric_limits<int32_t>::min() || p > std::numeric_limits<int32_t>::max())
        throw overflow();
    return int32_t(p);
}

}  // namespace

QString ListDataText(int32_t listNo, int16_t sheets, double rate)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("No.") + FormatNumber(listNo, QStringLiteral("0000")) + crlf + crlf + QString::number(sheets) +
           QStringLiteral("枚") + crlf + crlf + FormatNumber(rate, QStringLiteral("0.00")) + QStringLiteral("%");
}

PatternList::PatternList(TDBGrid& grid, Engine* engine, QObject* parent)
    : QObject(parent), grid_(grid), engine_(engine ? *engine : gEngine())
{
    connect(&grid_, &TDBGrid::RowResize, this, [this](int& cancel) { TDBList_RowResize(cancel); });
    connect(&grid_, &TDBGrid::ColResize, this, [this](int col, int& cancel) { TDBList_ColResize(col, cancel); });
    connect(&grid_, &TDBGrid::DblClick, this, [this] { TDBList_DblClick(); });
    connect(&grid_, &TDBGrid::FetchCellStyle, this,
            [this](int condition, int split, int bookmark, int col, TDBCellStyle& style) {
                TDBList_FetchCellStyle(condition, split, bookmark, col, style);
            });
}

PatternList::~PatternList() = default;

// --- the rebuild ---------------------------------------------------------------------------

bool PatternList::Build()
{
    if (!OpenPatternGroups())
        return false;
    if (!InsertListData())
        return false;
    SetTDBGridColumn();
    Resize();
    return true;
}

bool PatternList::OpenPatternGroups()
{
    patternGroups_.clear();
    return RunLogged(kWindow, "OpenPatternGroups", [&] { patternGroups_ = ReadPatternGroups(); });
}

bool PatternList::InsertListData()
{
    bool inTransaction = false;
    const bool filled = RunLogged(kWindow, "InsertListData", [&] {
        if (patternGroups_.empty())
            return;
        const cBase& b = gBase();
        cDao& dao = gDao();
        dao.BeginTrans();
        inTransaction = true;
        Statement insert = dao.Prepare(QStringLiteral(
            "INSERT INTO パターンリスト (パターン番号,部材切取数,リスト番号,母材使用数,データ ) VALUES (?1,?2,?3,?4,?5)"));
        int32_t previous = 0, n = 0;
        for (const PatternGroup& g : patternGroups_) {
            const int32_t p = g.patternNo;
            if (p == previous)
                continue;
            previous = p;
            ++n;
            const double rate = b.CvtDbl(g.rate);
            const int16_t sheets = narrow(g.sheets);
            insert.bind(1, int64_t(p));
            insert.bind(2, int64_t(g.cut));
            insert.bind(3, int64_t(n));
            insert.bind(4, int64_t(sheets));
            insert.bind(5, ListDataText(n, sheets, rate));
            insert.execute();   // a refused row fails the whole list
        }
        inTransaction = false;
        dao.CommitTrans();
    });
    if (!filled) {
        if (inTransaction)
            RunLogged(kWindow, "InsertListData", [] { gDao().RollbackTrans(); });
        release(patternGroups_);
        return false;
    }
    const bool connected = ConnectList();
    release(patternGroups_);   // the list keeps their numbers only
    return connected;
}

bool PatternList::ConnectList()
{
    return RunLogged(kWindow, "ConnectList", [&] {
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM パターンリスト WHERE リスト番号 <= ") +
                                                gBase().CvtSQL(Variant(gDisplay().DisplayListCount), kSqlInt) +
                                                QStringLiteral(" ORDER BY リスト番号"),
                                            dbOpenDynaset, dbReadOnly, dbReadOnly);
        grid_.clearRecordset();
        takeSnapshot();
        grid_.setRecordset(rs);
    });
}

// What the list keeps of the computation while it is shown.
void PatternList::takeSnapshot()
{
    std::vector<int32_t> numbers;
    numbers.reserve(patternGroups_.size());
    for (const PatternGroup& g : patternGroups_)
        numbers.push_back(g.patternNo);
    groups_ = std::move(numbers);
    stock_ = ListStockOf(engine_);
    maxStockWidth_ = engine_.MaxStockWidth;
    maxStockLength_ = engine_.MaxStockLength;
    piecePartTotal_ = engine_.PiecePartTotal;
    kerfWidth_ = engine_.KerfWidth;
    kerfColor_ = engine_.KerfColor;
    // The engine (or the recall) counts the columns up to the last used sheet, at most 表示母材.
    sheetColumns_ = engine_.ListSheetColumns;
    thumbnails_.reset(stock_);
}

std::vector<std::pair<const ListStockRow*, int>> PatternList::sheetStocks(int columns) const
{
    // All sheets of the first stock row, then of the second, ...; a last row of 数 0 goes on.
    std::vector<std::pair<const ListStockRow*, int>> out;
    size_t row = 0;
    int k = 1;
    while (int(out.size()) < columns && row < stock_.size()) {
        out.emplace_back(&stock_[row], k);
        if (++k > stock_[row].count && stock_[row].count != 0) {
            ++row;
            k = 1;
        }
    }
    return out;
}

// 50 pixels, or as wide as the grid's font needs for the lines of the rows shown.
double PatternList::textColumnWidth()
{
    const QFontMetrics fm(grid_.font());
    int widest = fm.horizontalAdvance(QStringLiteral("No.0000"));
    if (grid_.hasRecordset())
        for (Recordset r = grid_.recordset().clone(); !r.eof(); r.moveNext())
            for (const QString& line : gBase().CvtStr(r.field(QStringLiteral("データ"))).split(QStringLiteral("\r\n")))
                widest = std::max(widest, fm.horizontalAdvance(line));
    return std::max(50, widest + 6);
}

void PatternList::SetTDBGridColumn()
{
    RunLogged(kWindow, "SetTDBGridColumn", [&] {
        while (grid_.columnCount() > 0)
            grid_.removeColumn(0);
        grid_.setAllowRowSizing(true);
        grid_.setAllowColSelect(false);
        grid_.setMarqueeStyle(dbgHighlightRow);
        const auto sheets = sheetStocks(sheetColumns_);
        for (int i = 0; i < kFirstSheetColumn + int(sheets.size()); ++i) {
            TDBColumn& c = grid_.addColumn(i);
            c.setVisible(true);
            c.setAlignment(dbgLeft);
            switch (i) {
            case 0:
                c.setVisible(false);
                c.setDataField(QStringLiteral("リスト番号"));
                break;
            case 1:
                c.setVisible(false);
                c.setDataField(QStringLiteral("部材切取数"));
                break;
            case 2:
                c.setCaption(QString());
                c.setDataField(QStringLiteral("データ"));
                c.setWidth(textColumnWidth());
                c.setAllowSizing(false);
                c.setWrapText(true);
                c.setFetchStyle(true);
                break;
            default: {
                const auto& [stock, k] = sheets[size_t(i - kFirstSheetColumn)];
                c.setCaption(QString::number(stock->no) + QStringLiteral(" - ") + QString::number(k));
                c.setAllowSizing(true);
                c.setFetchStyle(true);
                break;
            }
            }
        }
        grid_.rebind();
    });
}

void PatternList::Resize()
{
    RunLogged(kWindow, "Resize", [&] {
        const int32_t w = maxStockWidth_;
        switch (gDisplay().DisplaySize) {
        case kSizeSmallest:
            if (w == 0)
                throw divisionByZero();
            scale_ = 60.0 / w;
            break;
        case kSizeStandard:
            if (w == 0)
                throw divisionByZero();
            scale_ = 100.0 / w;
            break;
        case kSizeLargest:
            // A square of side W fills the largest area (the clamps below then apply).
            if (w == 0)
                throw divisionByZero();
            scale_ = std::sqrt(double(maxDrawArea_)) / w;
            break;
        default:
            break;
        }
        TDBList_Resize(0);
    });
}

int16_t PatternList::TDBList_Resize(double previousScale)
{
    int16_t result = 1;
    RunLogged(kWindow, "TDBList_Resize", [&] {
        const int32_t w = maxStockWidth_, l = maxStockLength_;
        double s = scale_;
        if (w * s < 60) {
            if (w == 0)
                throw divisionByZero();
            s = 60.0 / w;
        }
        if ((l * s) * (w * s) > maxDrawArea_) {
            const int32_t area = product(w, l);
            if (area == 0)
                throw divisionByZero();
            s = std::sqrt(double(maxDrawArea_) / area);
        }
        scale_ = s;
        if (s == previousScale)
            return;
        grid_.setDefaultRowHeight(w * s + 10);
        const int columns = grid_.columnCount() - kFirstSheetColumn;
        const auto sheets = sheetStocks(std::max(0, columns));
        for (size_t i = 0; i < sheets.size(); ++i)
            grid_.column(kFirstSheetColumn + int(i)).setWidth(sheets[i].first->length * s + 10);
        grid_.refresh();
        result = 0;
    });
    return result;
}

// --- other operations ----------------------------------------------------------------------

void PatternList::LimitPicture()
{
    RunLogged(kWindow, "LimitPicture", [&] { maxDrawArea_ = kMaxDrawArea; });
}

void PatternList::InitListGrid()
{
    RunLogged(kWindow, "InitListGrid", [&] {
        while (grid_.columnCount() > 0)
            grid_.removeColumn(0);
    });
}

void PatternList::Clear()
{
    RunLogged(kWindow, "ClearPatternResults", [&] {
        grid_.clearRecordset();
        while (grid_.columnCount() > 0)
            grid_.removeColumn(0);
    });
    release(patternGroups_);
    release(groups_);
    thumbnails_.clear();
}

void PatternList::Refresh() { grid_.refresh(); }

ListSelection PatternList::CurrentSelection() const
{
    ListSelection sel;
    RunLogged(kWindow, "lbutDetail_Click", [&] {
        Recordset& rs = const_cast<TDBGrid&>(grid_).recordset();
        if (!rs.isOpen() || rs.bof() || rs.eof())
            return;
        const cBase& b = gBase();
        sel.patternNo = b.CvtLng(rs.field(QStringLiteral("パターン番号")));
        sel.listNo = b.CvtLng(rs.field(QStringLiteral("リスト番号")));
        sel.sheetCount = b.CvtInt(rs.field(QStringLiteral("母材使用数")));
        sel.lastSheet = b.CvtInt(gDao().Lookup(QStringLiteral("パターン母材"), QStringLiteral("MAX(連番)"),
                                                QStringLiteral("使用面積 <> 0 AND パターン番号 = ") +
                                                    b.CvtSQL(Variant(sel.patternNo), kSqlLong)));
        const int c = grid_.col();
        const int last = std::max<int>(sel.lastSheet, sel.sheetCount);
        sel.sheet = int16_t(c - 1 > last ? last : c < 4 ? 1 : c - 2);
    });
    return sel;
}

// --- grid events ---------------------------------------------------------------------------

void PatternList::TDBList_RowResize(int& cancel)
{
    const double old = scale_;
    if (!RunLogged(kWindow, "TDBList_RowResize", [&] {
            if (maxStockWidth_ == 0)
                throw divisionByZero();
            scale_ = grid_.defaultRowHeight() / maxStockWidth_;
            cancel = TDBList_Resize(old);
        }))
        cancel = 1;
    if (cancel)
        scale_ = old;   // the grid keeps its sizes, and the scale with them
}

void PatternList::TDBList_ColResize(int colIndex, int& cancel)
{
    if (colIndex < kFirstSheetColumn)
        return;
    const double old = scale_;
    if (!RunLogged(kWindow, "TDBList_ColResize", [&] {
            if (maxStockLength_ == 0)
                throw divisionByZero();
            scale_ = grid_.column(colIndex).width() / maxStockLength_;
            cancel = TDBList_Resize(old);
        }))
        cancel = 1;
    if (cancel)
        scale_ = old;
}

void PatternList::TDBList_DblClick()
{
    RunLogged(kWindow, "TDBList_DblClick", [&] {
        if (detailButton_ && !detailButton_->isEnabled())
            return;
        emit DetailRequested();
    });
}

SheetLook PatternList::look() const
{
    SheetLook l;
    l.scale = scale_;
    l.kerfOutlines = kerfWidth_ == 0;
    l.kerfColor = kerfColor_;
    l.guideLine = gDisplay().GuideLine == kLineShown;
    l.cutPosition = engine_.Settings.CutPosition;
    l.slitMode = engine_.Settings.SlitMode;
    l.slitLines = gDisplay().SlitLine == kLineShown;
    return l;
}

QImage PatternList::DrawList(int32_t listNo, int16_t sheet)
{
    QImage image;
    RunLogged(kWindow, "DrawList", [&] {
        if (listNo < 1 || size_t(listNo) > groups_.size())
            return;
        image = thumbnails_.image(groups_[size_t(listNo - 1)], sheet, look());
    });
    return image;
}

void PatternList::TDBList_FetchCellStyle(int condition, int, int bookmark, int col, TDBCellStyle& style)
{
    RunLogged(kWindow, "TDBList_FetchCellStyle", [&] {
        if (grid_.columnCount() < kFirstSheetColumn)
            return;
        const cBase& b = gBase();
        const int32_t listNo = b.CvtLng(grid_.column(0).cellValue(bookmark));
        const int k = col - 2;
        if (k == 0) {
            const int32_t cut = b.CvtLng(grid_.column(1).cellValue(bookmark));
            if (cut < piecePartTotal_ && condition == dbgNormalCell)
                style.backColor = kYellow;
        } else if (k >= 1 && listNo != 0) {
            const QImage image = DrawList(listNo, int16_t(k));
            if (!image.isNull()) {
                style.foregroundPicture = image;
                style.foregroundPicturePosition = 0;
            }
        }
    });
}
