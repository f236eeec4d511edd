#include "results/DetailTable.h"

#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "ui/LoggedCall.h"

namespace {

const QString kForm = QStringLiteral("frmDetail");

QString lng(int32_t v) { return gBase().CvtSQL(Variant(v), kSqlLong); }
QString text(const QString& v) { return gBase().CvtSQL(Variant(v), kSqlText); }

std::optional<Recordset> open(const char* procedure, const QString& sql)
{
    std::optional<Recordset> rs;
    RunLogged(kForm, procedure, [&] { rs = gDao().OpenRecordset(sql, dbOpenDynaset, dbReadOnly, dbReadOnly); });
    return rs;
}

// A field of the current row; Null where there is none (the conversions then give 0).
Variant fieldOf(const Recordset& rs, const QString& name)
{
    return rs.bof() || rs.eof() ? Variant::null() : rs.field(name);
}

// "pieces/quantity" of one part on one sheet (sheet 0: on every sheet).
QString countText(int32_t patternNo, int16_t sheet, int16_t part)
{
    const cBase& b = gBase();
    int32_t count = 0;
    if (std::optional<Recordset> rs = BuzaiRecordSet(patternNo, sheet, part))
        count = b.CvtLng(fieldOf(*rs, QStringLiteral("数")));
    const Engine& e = gEngine();
    const int16_t quantity = size_t(part) < e.PartTbl.size() ? e.PartTbl[size_t(part)].数 : int16_t(0);
    return QString::number(count) + QLatin1Char('/') + QString::number(quantity);
}

// An area and its rate as the sheet rows show them: 1,234,567 (85.30%).
QString areaText(const Recordset& rs, const QString& area, const QString& rate)
{
    const cBase& b = gBase();
    return FormatNumber(b.CvtLng(fieldOf(rs, area)), QStringLiteral("#,###,##0")) + QStringLiteral(" (") +
           FormatNumber(b.CvtDbl(fieldOf(rs, rate)), QStringLiteral("0.00")) + QStringLiteral("%)");
}

}  // namespace

int16_t LastUsedSheet(int32_t patternNo)
{
    int16_t last = 0;
    RunLogged(kForm, "LastUsedSheet", [&] {
        last = gBase().CvtInt(gDao().Lookup(QStringLiteral("パターン母材"), QStringLiteral("MAX(連番)"),
                                            QStringLiteral("パターン番号 = ") + lng(patternNo) +
                                                QStringLiteral(" AND 使用面積 <> 0")));
    });
    return last;
}

void DeleteDetail()
{
    RunLogged(kForm, "DeleteDetail", [] { gDao().Execute(QStringLiteral("DELETE FROM パターン詳細"), dbFailOnError); });
}

void InsertDetail(int32_t patternNo, int16_t lastSheet)
{
    RunLogged(kForm, "InsertDetail", [&] {
        const cBase& b = gBase();
        const int16_t parts = gEngine().PartTypeCount;
        QString head = QStringLiteral("INSERT INTO パターン詳細 (連番,母材番号,枝番,使用材,切代,端材,余材");
        for (int n = 1; n <= parts; ++n)
            head += QStringLiteral(",部材") + QString::number(n);
        head += QStringLiteral(" ) Values(");

        for (int16_t i = 0; i <= lastSheet; ++i) {
            QString sql = head;
            if (i == 0) {
                sql += QStringLiteral("0,0,0,");
                std::optional<Recordset> rs = PaternRecordSet(patternNo);
                if (!rs)
                    return;
                QStringList rates;
                for (const char16_t* f : {u"平均使用率", u"平均切代率", u"平均端材率", u"平均余材率"})
                    rates << text(FormatNumber(b.CvtDbl(fieldOf(*rs, QString::fromUtf16(f))), QStringLiteral("0.00")) +
                                  QLatin1Char('%'));
                sql += rates.join(QLatin1Char(','));
            } else {
                std::optional<Recordset> rs = BozaiRecordSet(patternNo, i);
                if (!rs)
                    return;
                if (rs->eof())
                    continue;   // no used sheet with this 連番
                sql += QLatin1Char(' ') + text(QString::number(i)) + QLatin1Char(',') +
                       text(QString::number(b.CvtLng(rs->field(QStringLiteral("母材番号"))))) + QLatin1Char(',') +
                       text(QString::number(b.CvtLng(rs->field(QStringLiteral("枝番")))));
                for (const auto& [area, rate] : {std::pair{u"使用面積", u"使用率"}, std::pair{u"切代面積", u"切代率"},
                                                 std::pair{u"端材面積", u"端材率"}, std::pair{u"余材面積", u"余材率"}})
                    sql += QLatin1Char(',') + text(areaText(*rs, QString::fromUtf16(area), QString::fromUtf16(rate)));
            }
            for (int16_t n = 1; n <= parts; ++n)
                sql += QLatin1Char(',') + text(countText(patternNo, i, n));
            sql += QLatin1Char(')');
            gDao().Execute(sql, dbFailOnError);
        }
    });
}

void WriteDetail(int32_t patternNo, int16_t lastSheet)
{
    const bool batch = RunLogged(kForm, "WriteDetail", [] { gDao().BeginTrans(); });
    DeleteDetail();
    InsertDetail(patternNo, lastSheet);
    if (batch && !RunLogged(kForm, "WriteDetail", [] { gDao().CommitTrans(); }))
        RunLogged(kForm, "WriteDetail", [] { gDao().RollbackTrans(); });
}

std::optional<Recordset> PaternRecordSet(int32_t patternNo)
{
    return open("PaternRecordSet", QStringLiteral("SELECT * FROM パターン WHERE パターン番号 = ") + lng(patternNo));
}

std::optional<Recordset> BozaiRecordSet(int32_t patternNo, int16_t sheet)
{
    return open("BozaiRecordSet", QStringLiteral("SELECT * FROM パターン母材 WHERE パターン番号 = ") + lng(patternNo) +
                                      QStringLiteral(" AND 連番 = ") + lng(sheet) + QStringLiteral(" AND 使用面積 <> 0"));
}

std::optional<Recordset> BuzaiRecordSet(int32_t patternNo, int16_t sheet, int16_t part)
{
    QString sql = QStringLiteral("SELECT 部材番号,Count(*) AS 数,色 FROM パターン部材 WHERE パターン番号 = ") + lng(patternNo);
    sql += sheet != 0 ? QStringLiteral(" AND 連番 =") + lng(sheet) : QStringLiteral(" AND 連番 > 0");
    if (part != 0)
        sql += QStringLiteral(" AND 部材番号 =") + lng(part);
    sql += QStringLiteral(" Group By 部材番号,色");
    return open("BuzaiRecordSet", sql);
}

QString DetailGridSql()
{
    return QStringLiteral("SELECT 連番,CAST(母材番号 AS TEXT) || '-' || CAST(枝番 AS TEXT) AS 母番,使用材,切代,端材,余材,"
                          "部材1,部材2,部材3,部材4,部材5,部材6,部材7,部材8,部材9,部材10,部材11,部材12"
                          " FROM パターン詳細 ORDER BY 母材番号,枝番");
}

QString PartGridSql(int32_t patternNo, int16_t unit, int16_t cutPosition)
{
    const QString u = QString::number(unit);
    QString sql = QStringLiteral("SELECT 連番,CAST(母材番号 AS TEXT) || '-' || CAST(枝番 AS TEXT) AS 母番,") +
                  QStringLiteral("開始縦 * ") + u + QStringLiteral(" As 縦１,開始横 * ") + u +
                  QStringLiteral(" As 横１,終了縦 * ") + u + QStringLiteral(" As 縦２,終了横 * ") + u +
                  QStringLiteral(" As 横２,色 FROM パターン部材 WHERE パターン番号 = ") + QString::number(patternNo) +
                  QStringLiteral(" AND 母材番号 > 0 AND 部材番号 <> 99 ORDER BY 連番,母材番号,枝番");
    if (cutPosition == kCutLeft)
        sql += QStringLiteral(",開始横,開始縦");
    else if (cutPosition == kCutTop)
        sql += QStringLiteral(",開始縦,開始横");
    return sql;
}
