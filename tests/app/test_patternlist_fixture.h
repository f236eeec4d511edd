#pragma once
// The pattern list over hand-made pattern rows: a fresh working database, an engine whose stock
// and totals the test sets, the display settings, and a window holding the list grid at an
// explicit size.
#include "app/PatternList.h"
#include "app/SystemSettings.h"
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/TDBGrid.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/DbFixture.h"
#include "ui/mdlMain.h"

#include <QApplication>
#include <QHeaderView>
#include <memory>

// The look of the program, set up before the first window of the process.
inline void SetupLookOnce()
{
    static const bool done = (SetupGuiPlatform(), true);
    (void)done;
}

// A window with the list grid filling it.
class ListWindow : public Form {
public:
    explicit ListWindow(QSize size = QSize(700, 400)) : Form(QStringLiteral("frmTavo")), size_(size) {}
    TDBGrid* grid = nullptr;

protected:
    void createControls(FormWindow* w) override
    {
        w->resize(size_);
        grid = new TDBGrid(w);
        grid->setObjectName(QStringLiteral("TDBList"));
        grid->setGeometry(0, 0, size_.width(), size_.height());
    }

private:
    QSize size_;
};

struct StockKind {
    int16_t length, width, count;
    int32_t color;
};

// The engine's stock as a computation leaves it (sizes in cells, the sheets in queue order).
inline void SetStock(Engine& e, const std::vector<StockKind>& kinds)
{
    e.StockTbl.assign(kinds.size() + 1, StockRec());
    e.StockQueue = {0};
    e.MaxStockLength = e.MaxStockWidth = 0;
    for (size_t i = 0; i < kinds.size(); ++i) {
        StockRec& s = e.StockTbl[i + 1];
        s.長さ = kinds[i].length;
        s.幅 = kinds[i].width;
        s.数 = kinds[i].count;
        s.色値 = kinds[i].color;
        for (int k = 0; k < std::max<int>(1, kinds[i].count); ++k)
            e.StockQueue.push_back(int16_t(i + 1));
        e.MaxStockLength = std::max<int32_t>(e.MaxStockLength, s.長さ);
        e.MaxStockWidth = std::max<int32_t>(e.MaxStockWidth, s.幅);
    }
    e.StockQueue.push_back(0);
}

class PatternListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetupLookOnce();
        gDisplay() = DisplaySettings{0, 0, 1, 100};
        engine_.Settings = SystemSettings();
        engine_.Settings.DisplaySheets = 5;
        engine_.ListSheetColumns = 1;
        engine_.PiecePartTotal = 10;
        engine_.KerfWidth = 0;
        engine_.KerfColor = 0x0000FF;
        SetStock(engine_, {{300, 200, 3, 0xC0FFFF}});
        window_ = std::make_unique<ListWindow>();
        window_->load();
        InitGridStyle(*window_, *window_->grid);
        list_ = std::make_unique<PatternList>(*window_->grid, &engine_);
        list_->LimitPicture();
        list_->InitListGrid();
    }
    void TearDown() override
    {
        list_.reset();
        window_.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void exec(const QString& sql) { ASSERT_GE(gDao().Execute(sql, dbFailOnError), 0) << sql.toStdString(); }
    // One pattern row and, per sheet, its パターン母材 row (a sheet of area 0 received nothing).
    void pattern(int no, const QString& signature, int cut, const QString& key, int sheets, double rate,
                 const std::vector<int>& usedAreas = {})
    {
        exec(QStringLiteral("INSERT INTO パターン (パターン番号,パターン種別,優先順位,母材使用数,部材切取数,平均使用率) VALUES (%1,'%2',%3,%4,%5,%6)")
                 .arg(no).arg(signature).arg(key.isNull() ? QStringLiteral("NULL") : QLatin1Char('\'') + key + QLatin1Char('\''))
                 .arg(sheets).arg(cut).arg(rate, 0, 'g', 17));
        const std::vector<int> areas = usedAreas.empty() ? std::vector<int>(size_t(sheets), 100) : usedAreas;
        for (size_t k = 0; k < areas.size(); ++k)
            exec(QStringLiteral("INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,使用面積) VALUES (%1,%2,1,%3,%4)")
                     .arg(no).arg(k + 1).arg(k + 1).arg(areas[k]));
    }
    void piece(int no, int sheet, int part, int x0, int y0, int x1, int y1, int32_t color, int stock = 1, int branch = 0)
    {
        exec(QStringLiteral("INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号,枝番,開始横,開始縦,終了横,終了縦,色) "
                            "VALUES (%1,%2,%3,%4,%5,%6,%7,%8,%9,%10)")
                 .arg(no).arg(sheet).arg(part).arg(stock).arg(branch ? branch : sheet).arg(x0).arg(y0).arg(x1).arg(y1)
                 .arg(color));
    }
    // The rows of パターンリスト in リスト番号 order: パターン番号 of each.
    std::vector<int> listed()
    {
        std::vector<int> out;
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT パターン番号 FROM パターンリスト ORDER BY リスト番号"));
        for (; !rs.eof(); rs.moveNext())
            out.push_back(rs.field(0).intValue());
        return out;
    }
    TDBGrid& grid() { return *window_->grid; }
    QStringList captions()
    {
        QStringList out;
        for (int i = 0; i < grid().columnCount(); ++i)
            out << grid().column(i).caption();
        return out;
    }

    DbFixture db_;
    Engine engine_;
    std::unique_ptr<ListWindow> window_;
    std::unique_ptr<PatternList> list_;
};
