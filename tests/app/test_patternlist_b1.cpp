// The list after the engine's benchmark job B1 (one stock kind of 10 sheets, 56 pieces of 12 parts,
// kerf 3, 8,192 layouts): built, drawn and scrolled row by row with every thumbnail read once, with
// screenshots. One test: the computation takes seconds and runs once per process. How fast the list
// appears and scrolls is measured by bench/panelo2-window, not here.
#include "tests/app/test_patternlist_fixture.h"

#include "engine/HeadlessHost.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScrollBar>

namespace {

QJsonObject scenario()
{
    QFile f(QStringLiteral(PANELO2_SCHEMA_DIR "/../bench/scenarios/B1.json"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object();
}

int64_t whole(const QJsonValue& v) { return v.isBool() ? (v.toBool() ? -1 : 0) : int64_t(v.toDouble()); }

}  // namespace

class PatternListB1 : public ::testing::Test {
protected:
    // The computation runs once for the suite, headless, as the benchmark runner runs it.
    static void SetUpTestSuite()
    {
        SetupLookOnce();
        db_ = new DbFixture;
        engine_ = new Engine;
        const QJsonObject s = scenario();
        cDao& dao = gDao();
        int no = 0;
        for (const QJsonValue& r : s.value(QStringLiteral("stock")).toArray()) {
            const QJsonArray a = r.toArray();
            dao.Execute(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数,色値) VALUES (%1,%2,%3,%4,%5)")
                            .arg(++no).arg(whole(a[0])).arg(whole(a[1])).arg(whole(a[2])).arg(whole(a[3])),
                        dbFailOnError);
        }
        no = 0;
        for (const QJsonValue& r : s.value(QStringLiteral("parts")).toArray()) {
            const QJsonArray a = r.toArray();
            dao.Execute(QStringLiteral("INSERT INTO 部材 (部材番号,長さ,幅,数,色値,回転) VALUES (%1,%2,%3,%4,%5,%6)")
                            .arg(++no).arg(whole(a[0])).arg(whole(a[1])).arg(whole(a[2])).arg(whole(a[3])).arg(whole(a[4])),
                        dbFailOnError);
        }
        const QJsonArray kerf = s.value(QStringLiteral("kerf")).toArray();
        const QJsonObject set = s.value(QStringLiteral("settings")).toObject();
        SystemSettings& st = engine_->Settings;
        st.CutPosition = int16_t(whole(set.value(QStringLiteral("切取位置"))));
        st.CutOrder = int16_t(whole(set.value(QStringLiteral("部材切取順序"))));
        st.CutOrderDetail = int16_t(whole(set.value(QStringLiteral("部材切取順序詳細"))));
        st.RotationMode = int16_t(whole(set.value(QStringLiteral("回転方式"))));
        st.SlitMode = int16_t(whole(set.value(QStringLiteral("スリット"))));
        st.DisplaySheets = int16_t(whole(set.value(QStringLiteral("表示母材"))));
        st.SortKeyList = set.value(QStringLiteral("並び替え項目")).toString();
        st.SortKeyFlags = SortKeyFlagsOf(st.SortKeyList);

        HeadlessHost host(int32_t(whole(kerf[0])), int32_t(whole(kerf[1])));
        HeadlessProgress progress;
        engine_->SetHost(&host);
        engine_->SetProgress(&progress);
        ok_ = engine_->CheckInputValue() && engine_->BeforeCompute() && engine_->Compute();
        engine_->SetHost(nullptr);
        engine_->SetProgress(nullptr);
    }
    static void TearDownTestSuite()
    {
        delete engine_;
        delete db_;
        engine_ = nullptr;
        db_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(ok_);
        gDisplay() = DisplaySettings{0, 0, 1, 100};
        window_ = std::make_unique<ListWindow>(QSize(1000, 600));
        window_->load();
        InitGridStyle(*window_, *window_->grid);
        window_->window()->show();
        list_ = std::make_unique<PatternList>(*window_->grid, engine_);
        list_->LimitPicture();
        list_->InitListGrid();
    }
    void TearDown() override
    {
        list_.reset();
        window_.reset();
        gDao().Execute(QStringLiteral("DELETE FROM パターンリスト"), dbFailOnError);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TDBGrid& grid() { return *window_->grid; }

    static DbFixture* db_;
    static Engine* engine_;
    static bool ok_;
    std::unique_ptr<ListWindow> window_;
    std::unique_ptr<PatternList> list_;
};

DbFixture* PatternListB1::db_ = nullptr;
Engine* PatternListB1::engine_ = nullptr;
bool PatternListB1::ok_ = false;

TEST_F(PatternListB1, ListsEveryDistinctLayoutAndScrollsReadingEachThumbnailOnce)
{
    ASSERT_EQ(engine_->PatternNo, 8192);
    ASSERT_TRUE(list_->Build());
    Render(window_->window());

    // Every distinct layout is listed; the grid shows the first 表示リスト of them.
    const int distinct = gDao().Lookup(QStringLiteral("パターンリスト"), QStringLiteral("COUNT(*)"), QString()).intValue();
    EXPECT_EQ(distinct, int(list_->PatternGroups().size()));
    EXPECT_GT(distinct, 100);
    EXPECT_EQ(grid().rowCount(), 100);
    QStringList caps;
    for (int i = 3; i < grid().columnCount(); ++i)
        caps << grid().column(i).caption();
    EXPECT_EQ(caps, (QStringList{"1 - 1", "1 - 2", "1 - 3", "1 - 4", "1 - 5"}));
    // The best pattern cuts every piece; thumbnails at 100 / 910 cells.
    grid().moveFirst();
    EXPECT_EQ(grid().column(1).value().intValue(), 56);
    EXPECT_DOUBLE_EQ(list_->ListScale(), 100.0 / 910);
    SaveScreenshot(window_->window(), QStringLiteral("patternlist_b1_top"));

    // Down the whole list, a row at a time.
    QScrollBar* bar = grid().verticalScrollBar();
    const int step = grid().verticalHeader()->sectionSize(0);
    int frames = 0;
    QCoreApplication::processEvents();   // the view lays its rows out
    for (int v = 0; v <= bar->maximum(); v += step, ++frames) {
        bar->setValue(v);
        QCoreApplication::processEvents();
        Render(window_->window());
        if (frames == 40)
            SaveScreenshot(window_->window(), QStringLiteral("patternlist_b1_scrolled"));
    }
    EXPECT_GT(frames, 50);
    EXPECT_LE(list_->thumbnails().patternReads(), 100);

    // Back up again: everything from memory.
    const int reads = list_->thumbnails().patternReads(), drawn = list_->thumbnails().imagesDrawn();
    for (int v = bar->maximum(); v >= 0; v -= step) {
        bar->setValue(v);
        QCoreApplication::processEvents();
        Render(window_->window());
    }
    EXPECT_EQ(list_->thumbnails().patternReads(), reads);
    EXPECT_EQ(list_->thumbnails().imagesDrawn(), drawn);

    // The largest size (in the same test: the computation runs once per process).
    gDisplay().DisplaySize = 2;
    gDao().Execute(QStringLiteral("DELETE FROM パターンリスト"), dbFailOnError);
    ASSERT_TRUE(list_->Build());
    // √(60000 / (910 x 1820)): each thumbnail at most 60000 square pixels.
    EXPECT_DOUBLE_EQ(list_->ListScale(), std::sqrt(60000.0 / (910 * 1820)));
    SaveScreenshot(window_->window(), QStringLiteral("patternlist_b1_largest"));
}
