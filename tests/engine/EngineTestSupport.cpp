#include "tests/engine/EngineTestSupport.h"

#include "foundation/Globals.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"
#include "tests/support/DbFixture.h"

#include <sqlite3.h>

void SetTables(Engine& e, const std::vector<StockInput>& stock, const std::vector<PartInput>& parts, int kerf, int unit)
{
    e.StockTbl.assign(stock.size() + 1, StockRec());
    e.StockQueue.assign(1, 0);
    e.StockTypeCount = int16_t(stock.size());
    e.StockPieceTotal = 0;
    for (size_t i = 0; i < stock.size(); ++i) {
        StockRec& s = e.StockTbl[i + 1];
        s.長さ = int16_t(stock[i].length);
        s.幅 = int16_t(stock[i].width);
        s.数 = int16_t(stock[i].count);
        s.色値 = stock[i].colour;
        e.StockPieceTotal += stock[i].count;
        for (int c = 0; c < (stock[i].count ? stock[i].count : 1); ++c)
            e.StockQueue.push_back(int16_t(i + 1));
    }
    e.StockQueue.resize(size_t(e.StockPieceTotal) + 2, 0);
    e.PartTbl.assign(parts.size() + 1, PartRec());
    e.PartTypeCount = int16_t(parts.size());
    e.PieceQueue.assign(1, 0);
    for (size_t i = 0; i < parts.size(); ++i) {
        PartRec& p = e.PartTbl[i + 1];
        p.長さ = int16_t(parts[i].length);
        p.幅 = int16_t(parts[i].width);
        p.数 = int16_t(parts[i].count);
        p.色値 = parts[i].colour;
        p.Rotatable = parts[i].rotate && parts[i].length != parts[i].width;
        for (int c = 0; c < parts[i].count; ++c)
            e.PieceQueue.push_back(int16_t(i + 1));
    }
    e.PiecePartTotal = int32_t(e.PieceQueue.size()) - 1;
    e.PieceRotated.assign(e.PieceQueue.size(), false);
    e.KerfWidth = int16_t(kerf);
    e.Unit = int16_t(unit);
}

void WriteInput(const std::vector<StockInput>& stock, const std::vector<PartInput>& parts)
{
    cDao& dao = gDao();
    Statement st = dao.Prepare(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数,色値) VALUES(?1,?2,?3,?4,?5)"));
    for (size_t i = 0; i < stock.size(); ++i) {
        st.bind(1, int64_t(i + 1));
        st.bind(2, int64_t(stock[i].length));
        st.bind(3, int64_t(stock[i].width));
        st.bind(4, int64_t(stock[i].count));
        st.bind(5, int64_t(stock[i].colour));
        st.execute();
    }
    st = dao.Prepare(QStringLiteral("INSERT INTO 部材 (部材番号,長さ,幅,数,色値,回転) VALUES(?1,?2,?3,?4,?5,?6)"));
    for (size_t i = 0; i < parts.size(); ++i) {
        st.bind(1, int64_t(i + 1));
        st.bind(2, int64_t(parts[i].length));
        st.bind(3, int64_t(parts[i].width));
        st.bind(4, int64_t(parts[i].count));
        st.bind(5, int64_t(parts[i].colour));
        st.bind(6, int64_t(parts[i].rotate ? -1 : 0));
        st.execute();
    }
}

QString DumpTable(const QString& table)
{
    sqlite3* db = SharedConnection();
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = (QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" ORDER BY rowid")).toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
        return QStringLiteral("<error>");
    QString out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(st); ++i) {
            switch (sqlite3_column_type(st, i)) {
            case SQLITE_INTEGER: out += QString::number(sqlite3_column_int64(st, i)); break;
            case SQLITE_FLOAT: out += QString::number(sqlite3_column_double(st, i), 'g', 17); break;
            case SQLITE_NULL: out += QStringLiteral("NULL"); break;
            default: out += QLatin1Char('\'') + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i))) + QLatin1Char('\''); break;
            }
            out += QLatin1Char('|');
        }
        out += QLatin1Char('\n');
    }
    sqlite3_finalize(st);
    return out;
}

int CountRows(const QString& table, const QString& where)
{
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                                        (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where));
    return rs.field(0).intValue();
}

EngineOnDb::EngineOnDb(const std::vector<StockInput>& stock, const std::vector<PartInput>& parts, int kerf)
    : db(std::make_unique<DbFixture>())
{
    WriteInput(stock, parts);
    host = std::make_unique<HeadlessHost>(kerf, 0x0000FF);
    engine.SetHost(host.get());
    engine.SetProgress(&progress);
}

EngineOnDb::~EngineOnDb()
{
    host.reset();
}

bool EngineOnDb::Run() { return engine.BeforeCompute() && engine.Compute(); }
