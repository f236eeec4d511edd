#pragma once
// Shared by the detail window tests: a fresh working database with a hand-made pattern, the
// engine's tables and settings as a computation leaves them, the hand-over, and the window
// opened at an explicit size.
//
// The pattern (7, list number 7) has three sheets by 連番, two of them used (母材使用数 2):
//   連番 1: stock 2 (200 x 100 cells, dark), branch 1: part 1 at (0,0)-(100,50) and (0,50)-(100,100),
//           part 2 at (100,0)-(150,50), a kerf band at (150,0)-(152,50)
//   連番 2: stock 2, branch 2: received nothing (使用面積 0)
//   連番 3: stock 1 (300 x 200 cells, light), branch 1: part 1 at (0,0)-(100,50), part 2 at
//           (0,50)-(50,100) and (100,0)-(150,50)
// and two pieces not placed (連番 0). Unit 5: the part grid shows cells times 5.
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/Label.h"
#include "platform/gui/TDBGrid.h"
#include "results/DetailSurface.h"
#include "results/DisplaySettings.h"
#include "results/HandOver.h"
#include "results/frmDetail.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/DbFixture.h"
#include "tests/support/Press.h"
#include "tests/support/ScriptedMsgBox.h"
#include "ui/LineButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <gtest/gtest.h>

inline constexpr int32_t kLightStock = 0xC0E0FF, kDarkStock = 0x604020;
inline constexpr int32_t kPart1Color = 0x0000FF, kPart2Color = 0xFFC080, kKerf = 0x00FFFF;

inline void SetupDetailLookOnce()
{
    static const bool done = (SetupGuiPlatform(), true);
    (void)done;
}

inline const char* const kDetailPattern = R"(
INSERT INTO パターン (パターン番号,パターン種別,優先順位,母材使用数,部材切取数,平均使用率,平均切代率,平均端材率,平均余材率)
  VALUES (7,'sig','key',2,6,85.3,0.125,12.345,0);
INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,最大平方,平方数,使用面積,使用率,切代面積,切代率,端材面積,端材率,余材面積,余材率)
  VALUES (7,1,2,1,1,1,1234567,85.3,0,0,5000,0.125,0,0),
         (7,2,2,2,1,1,0,0,0,0,0,0,500000,100),
         (7,3,1,1,1,1,900000,60,2500,0.5,70000,1.005,1000000,38.495);
INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号,枝番,開始横,開始縦,終了横,終了縦,色) VALUES
  (7,1,1,2,1,0,0,100,50,255), (7,1,2,2,1,100,0,150,50,16760960), (7,1,1,2,1,0,50,100,100,255),
  (7,1,99,2,1,150,0,152,50,65535),
  (7,3,2,1,1,100,0,150,50,16760960), (7,3,1,1,1,0,0,100,50,255), (7,3,2,1,1,0,50,50,100,16760960),
  (7,0,1,0,0,0,0,0,0,255), (7,0,3,0,0,0,0,0,0,65280),
  (8,1,1,1,1,0,0,300,200,255);
)";

struct DetailStock {
    int16_t length, width;
    int32_t color;
};
struct DetailPart {
    int16_t count;
    int32_t color;
};

// The engine's tables after a computation: sizes in cells, Unit 5, kerf bands 2 cells wide.
inline void SetDetailEngine(const std::vector<DetailStock>& stock, const std::vector<DetailPart>& parts,
                            int16_t unit = 5)
{
    Engine& e = gEngine();
    e.StockTbl.assign(stock.size() + 1, StockRec());
    for (size_t i = 0; i < stock.size(); ++i) {
        e.StockTbl[i + 1].長さ = stock[i].length;
        e.StockTbl[i + 1].幅 = stock[i].width;
        e.StockTbl[i + 1].色値 = stock[i].color;
    }
    e.PartTbl.assign(parts.size() + 1, PartRec());
    for (size_t i = 0; i < parts.size(); ++i) {
        e.PartTbl[i + 1].数 = parts[i].count;
        e.PartTbl[i + 1].色値 = parts[i].color;
    }
    e.PartTypeCount = int16_t(parts.size());
    e.Unit = unit;
    e.KerfWidth = 2;
    e.KerfColor = kKerf;
    e.Settings = SystemSettings();
}

// The engine as no computation left it.
inline void ClearDetailEngine()
{
    Engine& e = gEngine();
    e.StockTbl.clear();
    e.PartTbl.clear();
    e.PartTypeCount = 0;
    e.Unit = 0;
    e.Settings = SystemSettings();
}

// Statements separated by ";" on the working database.
inline void ExecStatements(const QString& sql)
{
    for (const QString& statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!statement.trimmed().isEmpty()) {
            ASSERT_GE(gDao().Execute(statement, dbFailOnError), 0) << statement.toStdString();
        }
    }
}

// The pattern in the working tables, the engine and the hand-over as the main window leaves them.
inline void SetUpDetailPattern()
{
    ExecStatements(QString::fromUtf8(kDetailPattern));
    SetDetailEngine({{300, 200, kLightStock}, {200, 100, kDarkStock}}, {{4, kPart1Color}, {3, kPart2Color}, {1, 0x00FF00}});
    gDisplay() = DisplaySettings{0, 0, 1, 100};
    gSelection() = ListSelection{7, 7, 2, 3, 1};
}

class DetailTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetupDetailLookOnce();
        SetUpDetailPattern();
    }
    void TearDown() override
    {
        gDetail().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ClearDetailEngine();
        gSelection() = ListSelection();
    }

    using Stock = DetailStock;
    using Part = DetailPart;
    static void SetEngine(const std::vector<Stock>& stock, const std::vector<Part>& parts, int16_t unit = 5)
    {
        SetDetailEngine(stock, parts, unit);
    }
    static void exec(const QString& sql) { ExecStatements(sql); }

    // Opens the detail window on the hand-over at a client size of w x h.
    frmDetail& open(int w = 1000, int h = 680)
    {
        frmDetail& d = gDetail();
        d.load();
        d.loadedWindow()->resize(w, h);
        d.show();
        QCoreApplication::processEvents();
        return d;
    }

    static int16_t shown() { return gSelection().sheet; }
    // The sheet of the current row of a grid (its hidden column 連番).
    static int16_t currentSheet(TDBGrid& g)
    {
        return g.row() < 0 ? int16_t(-1) : gBase().CvtInt(g.column(0).value());
    }
    static QString cell(TDBGrid& g, int row, int col) { return g.column(col).cellText(g.rowBookmark(row)); }
    static void selectRow(TDBGrid& g, int row) { g.setCurrentIndex(g.model()->index(row, 1)); }

    DbFixture db_;
    ScriptedMsgBox boxes_;
};
