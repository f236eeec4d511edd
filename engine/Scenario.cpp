#include "engine/Scenario.h"

#include "engine/HeadlessHost.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/Database.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

bool isNumberArray(const QJsonValue& v, int size, int boolAt = -1)
{
    if (!v.isArray() || v.toArray().size() != size)
        return false;
    const QJsonArray a = v.toArray();
    for (int i = 0; i < size; ++i)
        if (!(a[i].isDouble() || (i == boolAt && a[i].isBool())))
            return false;
    return true;
}

// A JSON number or Boolean as the database stores it (true is -1); numbers are checked first.
int64_t integer(const QJsonValue& v) { return v.isBool() ? (v.toBool() ? -1 : 0) : int64_t(v.toDouble()); }

// The tables hold whole numbers of 32 bits; anything else would be converted silently.
bool wholeNumber(const QJsonValue& v)
{
    const double d = v.toDouble();
    return !v.isDouble() || (d == std::floor(d) && d >= -2147483648.0 && d <= 2147483647.0);
}

QString badNumberText(const QString& where, const QJsonValue& v)
{
    return QStringLiteral("scenario: %1 is %2, not a whole number from -2147483648 to 2147483647")
        .arg(where, QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
}

// The first number of the scenario that is not a whole number of 32 bits; empty when there is none.
QString badNumber(const QJsonArray& stock, const QJsonArray& parts, const QJsonArray& kerf, const QJsonObject& settings)
{
    const std::pair<const char*, const QJsonArray*> tables[] = {{"stock row", &stock}, {"part row", &parts}};
    for (const auto& [name, rows] : tables)
        for (qsizetype r = 0; r < rows->size(); ++r)
            for (const QJsonValue& v : rows->at(r).toArray())
                if (!wholeNumber(v))
                    return badNumberText(QStringLiteral("a value of %1 %2").arg(QLatin1String(name)).arg(r + 1), v);
    for (const QJsonValue& v : kerf)
        if (!wholeNumber(v))
            return badNumberText(QStringLiteral("a value of \"kerf\""), v);
    for (auto it = settings.begin(); it != settings.end(); ++it)
        if (!wholeNumber(it.value()))
            return badNumberText(QStringLiteral("setting ") + it.key(), it.value());
    return QString();
}

}

QString WriteScenarioInput(const QJsonObject& s, bool* badNumberFound)
{
    if (badNumberFound)
        *badNumberFound = false;
    const QJsonValue stock = s.value(QStringLiteral("stock")), parts = s.value(QStringLiteral("parts")),
                     kerf = s.value(QStringLiteral("kerf")), settings = s.value(QStringLiteral("settings"));
    if (!stock.isArray() || !parts.isArray() || !isNumberArray(kerf, 2) || !(settings.isUndefined() || settings.isObject()))
        return QStringLiteral("scenario: \"stock\" and \"parts\" must be arrays, \"kerf\" [幅, 色], \"settings\" an object");
    const QString bad = badNumber(stock.toArray(), parts.toArray(), kerf.toArray(), settings.toObject());
    if (!bad.isEmpty()) {
        if (badNumberFound)
            *badNumberFound = true;
        return bad;
    }
    cDao& dao = gDao();
    dao.Execute(QStringLiteral("DELETE FROM 母材"), dbFailOnError);
    dao.Execute(QStringLiteral("DELETE FROM 部材"), dbFailOnError);
    dao.Execute(QStringLiteral("DELETE FROM 設定"), dbFailOnError);
    Statement st = dao.Prepare(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数,色値) VALUES(?1,?2,?3,?4,?5)"));
    int no = 0;
    for (const QJsonValue& row : stock.toArray()) {
        if (!isNumberArray(row, 4))
            return QStringLiteral("scenario: every stock row is [長さ, 幅, 数, 色値]");
        const QJsonArray a = row.toArray();
        st.bind(1, int64_t(++no));
        for (int i = 0; i < 4; ++i)
            st.bind(i + 2, integer(a[i]));
        st.execute();
    }
    st = dao.Prepare(QStringLiteral("INSERT INTO 部材 (部材番号,長さ,幅,数,色値,回転) VALUES(?1,?2,?3,?4,?5,?6)"));
    no = 0;
    for (const QJsonValue& row : parts.toArray()) {
        if (!isNumberArray(row, 5, 4) || !row.toArray()[4].isBool())
            return QStringLiteral("scenario: every part row is [長さ, 幅, 数, 色値, 回転] with 回転 true or false");
        const QJsonArray a = row.toArray();
        st.bind(1, int64_t(++no));
        for (int i = 0; i < 5; ++i)
            st.bind(i + 2, integer(a[i]));
        st.execute();
    }
    st = dao.Prepare(QStringLiteral("INSERT INTO 設定 (ライン,ライン幅) VALUES(?1,?2)"));
    st.bind(1, integer(kerf.toArray()[1]));
    st.bind(2, integer(kerf.toArray()[0]));
    st.execute();

    static const QStringList columns = {
        QStringLiteral("切取補助線"), QStringLiteral("切取位置"), QStringLiteral("部材切取順序"),
        QStringLiteral("部材切取順序詳細"), QStringLiteral("回転方式"), QStringLiteral("スリット"),
        QStringLiteral("スリット線"), QStringLiteral("表示サイズ"), QStringLiteral("表示母材"),
        QStringLiteral("表示リスト"), QStringLiteral("並び替え項目")};
    const QJsonObject given = settings.toObject();
    for (auto it = given.begin(); it != given.end(); ++it) {
        const bool text = it.key() == columns.last();
        if (!columns.contains(it.key()) || (text ? !it.value().isString() : !it.value().isDouble()))
            return QStringLiteral("scenario: unknown setting or wrong value: ") + it.key();
        st = dao.Prepare(QStringLiteral("UPDATE システム設定 SET ") + it.key() + QStringLiteral(" = ?1"));
        if (text)
            st.bind(1, it.value().toString().isEmpty() ? Variant::null() : Variant(it.value().toString()));
        else
            st.bind(1, integer(it.value()));
        st.execute();
    }
    return QString();
}

int32_t ScenarioKerfWidth(const QJsonObject& s) { return int32_t(integer(s.value(QStringLiteral("kerf")).toArray()[0])); }
int32_t ScenarioKerfColour(const QJsonObject& s) { return int32_t(integer(s.value(QStringLiteral("kerf")).toArray()[1])); }

SystemSettings ReadSystemSettings()
{
    const cBase& b = gBase();
    Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM システム設定"));
    SystemSettings s;
    if (rs.recordCount() == 0)
        return s;
    rs.moveFirst();
    s.CutPosition = b.CvtInt(rs.field(QStringLiteral("切取位置")));
    s.CutOrder = b.CvtInt(rs.field(QStringLiteral("部材切取順序")));
    s.CutOrderDetail = b.CvtInt(rs.field(QStringLiteral("部材切取順序詳細")));
    s.RotationMode = b.CvtInt(rs.field(QStringLiteral("回転方式")));
    s.SlitMode = b.CvtInt(rs.field(QStringLiteral("スリット")));
    s.DisplaySheets = b.CvtInt(rs.field(QStringLiteral("表示母材")));
    s.SortKeyList = b.CvtStr(rs.field(QStringLiteral("並び替え項目")));
    s.SortKeyFlags = SortKeyFlagsOf(s.SortKeyList);
    return s;
}

QString ReadScenarioFile(const QString& path, QJsonObject& scenario)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read ") + path;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject())
        return QStringLiteral("scenario: ") +
               (parseError.error != QJsonParseError::NoError
                    ? parseError.errorString() + QStringLiteral(" at offset ") + QString::number(parseError.offset)
                    : QStringLiteral("the file is JSON but not an object {...}"));
    scenario = doc.object();
    return QString();
}

ScenarioOutcome RunScenario(const QJsonObject& scenario, PatternStore* store, bool sheetMemo)
{
    ScenarioOutcome outcome;
    outcome.invalid = WriteScenarioInput(scenario, &outcome.badNumber);
    if (!outcome.invalid.isEmpty())
        return outcome;

    HeadlessHost host(ScenarioKerfWidth(scenario), ScenarioKerfColour(scenario));
    HeadlessProgress progress;
    Engine engine;
    engine.SetHost(&host);
    engine.SetProgress(&progress);
    engine.SetStore(store);
    engine.Settings = ReadSystemSettings();
    engine.UseSheetMemo = sheetMemo;

    QElapsedTimer clock;
    clock.start();
    if (!engine.CheckInputValue())
        outcome.falseStep = QStringLiteral("CheckInputValue");
    else if (!engine.BeforeCompute())
        outcome.falseStep = QStringLiteral("BeforeCompute");
    else if (!engine.Compute())
        outcome.falseStep = QStringLiteral("Compute");
    outcome.seconds = double(clock.nsecsElapsed()) / 1e9;
    outcome.reason = engine.stopReason();
    outcome.Unit = engine.Unit;
    outcome.PiecePartTotal = engine.PiecePartTotal;
    outcome.CombinationCount = engine.CombinationCount;
    outcome.PatternNo = engine.PatternNo;
    return outcome;
}
