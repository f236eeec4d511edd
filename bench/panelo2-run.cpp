// The headless benchmark runner: the whole compute road (CheckInputValue, BeforeCompute, Compute)
// on a scenario file and a fresh working database, never asking the stop question.
//
//   panelo2-run [--store sqlite|memory|null] SCENARIO.json OUT.mdb
//
// Exit codes: 0 done, 1 usage or another failure, 2 the input failed validation, 3 the run count
// overflowed ("計算量オーバー"). The last four lines printed are the figures.
#include "engine/Engine.h"
#include "engine/HeadlessHost.h"
#include "engine/PatternStore.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/AppInfo.h"
#include "platform/core/Database.h"
#include "platform/core/MsgBox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>
#include <memory>
#include <sqlite3.h>

namespace {

void out(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout); }
void err(const QString& line) { std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stderr); }

int usage()
{
    err(QStringLiteral("usage: panelo2-run [--store sqlite|memory|null] SCENARIO.json OUT.mdb"));
    return 1;
}

// A fresh working database from the schema script.
bool buildDatabase(const QString& path)
{
    QFile script(QStringLiteral(PANELO2_SCHEMA_DIR "/working.sql"));
    if (!script.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("cannot read ") + script.fileName());
        return false;
    }
    const QByteArray sql = script.readAll();
    QFile::remove(path);
    sqlite3* db = nullptr;
    char* message = nullptr;
    int rc = sqlite3_open(QFile::encodeName(path).constData(), &db);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK)
        err(QStringLiteral("cannot build ") + path + QStringLiteral(": ") +
            QString::fromUtf8(message ? message : sqlite3_errmsg(db)));
    sqlite3_free(message);
    sqlite3_close(db);
    return rc == SQLITE_OK;
}

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

int64_t integer(const QJsonValue& v) { return v.isBool() ? (v.toBool() ? -1 : 0) : int64_t(v.toDouble()); }

// Writes the scenario's input into the working database; false after a message on stderr.
bool writeInput(const QJsonObject& s)
{
    const QJsonValue stock = s.value(QStringLiteral("stock")), parts = s.value(QStringLiteral("parts")),
                     kerf = s.value(QStringLiteral("kerf")), settings = s.value(QStringLiteral("settings"));
    if (!stock.isArray() || !parts.isArray() || !isNumberArray(kerf, 2) || !(settings.isUndefined() || settings.isObject())) {
        err(QStringLiteral("scenario: \"stock\" and \"parts\" must be arrays, \"kerf\" [幅, 色], \"settings\" an object"));
        return false;
    }
    cDao& dao = gDao();
    dao.Execute(QStringLiteral("DELETE FROM 母材"), dbFailOnError);
    dao.Execute(QStringLiteral("DELETE FROM 部材"), dbFailOnError);
    dao.Execute(QStringLiteral("DELETE FROM 設定"), dbFailOnError);
    Statement st = dao.Prepare(QStringLiteral("INSERT INTO 母材 (母材番号,長さ,幅,数,色値) VALUES(?1,?2,?3,?4,?5)"));
    int no = 0;
    for (const QJsonValue& row : stock.toArray()) {
        if (!isNumberArray(row, 4)) {
            err(QStringLiteral("scenario: every stock row is [長さ, 幅, 数, 色値]"));
            return false;
        }
        const QJsonArray a = row.toArray();
        st.bind(1, int64_t(++no));
        for (int i = 0; i < 4; ++i)
            st.bind(i + 2, integer(a[i]));
        st.execute();
    }
    st = dao.Prepare(QStringLiteral("INSERT INTO 部材 (部材番号,長さ,幅,数,色値,回転) VALUES(?1,?2,?3,?4,?5,?6)"));
    no = 0;
    for (const QJsonValue& row : parts.toArray()) {
        if (!isNumberArray(row, 5, 4) || !row.toArray()[4].isBool()) {
            err(QStringLiteral("scenario: every part row is [長さ, 幅, 数, 色値, 回転] with 回転 true or false"));
            return false;
        }
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
        if (!columns.contains(it.key()) || (text ? !it.value().isString() : !it.value().isDouble())) {
            err(QStringLiteral("scenario: unknown setting or wrong value: ") + it.key());
            return false;
        }
        st = dao.Prepare(QStringLiteral("UPDATE システム設定 SET ") + it.key() + QStringLiteral(" = ?1"));
        if (text)
            st.bind(1, it.value().toString().isEmpty() ? Variant::null() : Variant(it.value().toString()));
        else
            st.bind(1, integer(it.value()));
        st.execute();
    }
    return true;
}

SystemSettings readSettings()
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

}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString storeName = QStringLiteral("sqlite");
    if (!args.isEmpty() && args[0].startsWith(QStringLiteral("--store"))) {
        if (args[0].startsWith(QStringLiteral("--store="))) {
            storeName = args[0].mid(8);
            args.removeFirst();
        } else if (args.size() >= 2) {
            storeName = args[1];
            args.remove(0, 2);
        }
    }
    if (args.size() != 2 || !QStringList{QStringLiteral("sqlite"), QStringLiteral("memory"), QStringLiteral("null")}.contains(storeName))
        return usage();

    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        err(QStringLiteral("cannot read ") + args[0]);
        return 1;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject()) {
        err(QStringLiteral("scenario: ") + parseError.errorString());
        return 1;
    }
    const QString outPath = QFileInfo(args[1]).absoluteFilePath();
    if (!buildDatabase(outPath))
        return 1;
    SetAppPath(QFileInfo(outPath).absolutePath());     // the error log lands beside the output
    if (!gDao().Connect(outPath, false)) {
        err(QStringLiteral("cannot open ") + outPath);
        return 1;
    }
    if (!writeInput(doc.object()))
        return 1;

    QString lastTitle;
    SetMsgBoxHandler([&](const QString& text, int style, const QString& title) {
        lastTitle = title;
        out(title + QStringLiteral(": ") + QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" / ")));
        return MsgBoxDefaultAnswer(style);
    });

    Engine engine;
    HeadlessHost host(0, 0);
    const QJsonArray kerf = doc.object().value(QStringLiteral("kerf")).toArray();
    host.setKerf(Variant(int32_t(integer(kerf[0]))), int32_t(integer(kerf[1])));
    HeadlessProgress progress;
    std::unique_ptr<PatternStore> store;
    if (storeName == QLatin1String("memory"))
        store = std::make_unique<MemoryPatternStore>();
    else if (storeName == QLatin1String("null"))
        store = std::make_unique<NullPatternStore>();
    engine.SetHost(&host);
    engine.SetProgress(&progress);
    engine.SetStore(store.get());
    engine.Settings = readSettings();

    QElapsedTimer clock;
    clock.start();
    if (!engine.CheckInputValue())
        return lastTitle == kCalculationOverflowTitle ? 3 : 2;
    if (!engine.BeforeCompute())
        return 1;
    if (!engine.Compute())
        return lastTitle == kCalculationOverflowTitle ? 3 : 1;
    const double seconds = double(clock.nsecsElapsed()) / 1e9;

    out(QStringLiteral("store %1, Unit %2, PiecePartTotal %3").arg(storeName).arg(engine.Unit).arg(engine.PiecePartTotal));
    out(QStringLiteral("CombinationCount %1").arg(engine.CombinationCount));
    out(QStringLiteral("patterns %1").arg(engine.PatternNo));
    out(QStringLiteral("seconds %1").arg(seconds, 0, 'f', 3));
    out(QStringLiteral("layouts_per_s %1").arg(seconds > 0 ? engine.PatternNo / seconds : 0.0, 0, 'f', 1));
    gDao().Disconnect();
    return 0;
}
