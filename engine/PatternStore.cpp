#include "engine/PatternStore.h"

#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cDao.h"

#include <exception>

namespace {
constexpr qint64 kBatchMilliseconds = 500;
// The rows per statement of the piece row statements, largest first: a layout's rows go in as few
// statements as these sizes allow, in order.
constexpr int kPieceRowsPerStatement[] = {64, 8, 1};

// The pattern tables' indexes, as schema/working.sql creates them. They are named here, not read
// back from the database, so that a search killed while they were dropped leaves nothing lost:
// start-up, the list and the detail window build every one that is missing
// (RestorePatternIndexes), as does the next search that ends.
struct PatternIndex {
    QString name, sql;
};
const PatternIndex kPatternIndexes[] = {
    {QStringLiteral("パターン_番号"), QStringLiteral("CREATE INDEX パターン_番号 ON パターン (パターン番号)")},
    {QStringLiteral("パターン母材_番号"), QStringLiteral("CREATE INDEX パターン母材_番号 ON パターン母材 (パターン番号, 連番)")},
    {QStringLiteral("パターン部材_番号"), QStringLiteral("CREATE INDEX パターン部材_番号 ON パターン部材 (パターン番号, 連番)")},
};

std::vector<const PatternIndex*> missingIndexes(Database& db)
{
    QStringList present;
    for (Recordset rs = db.openRecordset(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")); !rs.eof();
         rs.moveNext())
        present << rs.field(0).stringValue();
    std::vector<const PatternIndex*> missing;
    for (const PatternIndex& index : kPatternIndexes)
        if (!present.contains(index.name))
            missing.push_back(&index);
    return missing;
}

// Builds the indexes in a transaction of their own (a savepoint inside an open batch); a failure
// undoes the building alone and is thrown.
void buildIndexes(const std::vector<const PatternIndex*>& indexes)
{
    // One thread sorts the keys: with pages of 32 KiB, SQLite's helper threads build no faster and
    // each holds a sort buffer of its own.
    cDao& dao = gDao();
    Database& db = *dao.CurrentDB();
    dao.BeginTrans();
    try {
        for (const PatternIndex* index : indexes)
            db.execute(index->sql);
        dao.CommitTrans();
    } catch (...) {
        try {
            dao.RollbackTrans();
        } catch (...) {
        }
        throw;
    }
}

// The result tables in the order Clear empties them (kResultTables); Discard empties the first two.
const QString kResultTableNames[] = {QStringLiteral("パターンリスト"), QStringLiteral("パターン"),
                                     QStringLiteral("パターン部材"), QStringLiteral("パターン母材")};
static_assert(std::size(kResultTableNames) == PatternStore::kResultTables);

QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}
}

void PatternStore::Clear(const std::function<void(int)>& cleared)
{
    for (int n = 1; n <= kResultTables; ++n)
        cleared(n);
}

void SqlitePatternStore::Clear(const std::function<void(int)>& cleared)
{
    for (int n = 1; n <= kResultTables; ++n) {
        gDao().Execute(QStringLiteral("DELETE FROM ") + kResultTableNames[n - 1], dbFailOnError);
        cleared(n);
    }
}

void SqlitePatternStore::Discard()
{
    std::exception_ptr failed;
    for (int n = 0; n < 2; ++n) {
        try {
            gDao().Execute(QStringLiteral("DELETE FROM ") + kResultTableNames[n], dbFailOnError);
        } catch (...) {
            if (!failed)
                failed = std::current_exception();
        }
    }
    if (failed)
        std::rethrow_exception(failed);
}

SqlitePatternStore::~SqlitePatternStore()
{
    try {
        End();
    } catch (...) {
    }
}

void SqlitePatternStore::Begin()
{
    prepare();
    checkIndexes_ = true;
    // Empty pattern tables are filled without their indexes, which End builds again from their own
    // definitions: one build over all rows costs less than keeping them up to date row by row.
    // Nothing reads the tables meanwhile (a stop answered Yes or No ends the search first). The
    // indexes go in the first batch and come back in the last, so this costs no commit of its own.
    Database& db = *gDao().CurrentDB();
    Recordset counts = db.openRecordset(QStringLiteral("SELECT (SELECT COUNT(*) FROM (SELECT 1 FROM パターン LIMIT 1)) + "
                                                       "(SELECT COUNT(*) FROM (SELECT 1 FROM パターン母材 LIMIT 1)) + "
                                                       "(SELECT COUNT(*) FROM (SELECT 1 FROM パターン部材 LIMIT 1))"));
    if (counts.field(0).intValue() != 0)
        return;
    openBatch();
    for (const PatternIndex& index : kPatternIndexes)
        db.execute(QStringLiteral("DROP INDEX IF EXISTS ") + quotedName(index.name));
}

void SqlitePatternStore::openBatch()
{
    gDao().BeginTrans();
    batchOpen_ = true;
    batchClock_.start();
}

void SqlitePatternStore::prepare()
{
    cDao& dao = gDao();
    static_assert(std::size(kPieceRowsPerStatement) == std::tuple_size_v<decltype(pieces_)>);
    for (size_t k = 0; k < pieces_.size(); ++k) {
        QString sql = QStringLiteral("INSERT INTO パターン部材 (パターン番号,連番,部材番号,母材番号,枝番,開始横,開始縦,"
                                     "終了横,終了縦,色) VALUES ");
        for (int r = 0; r < kPieceRowsPerStatement[k]; ++r)
            sql += (r ? QStringLiteral(",") : QString()) + QStringLiteral("(?,?,?,?,?,?,?,?,?,?)");
        pieces_[k] = dao.Prepare(sql);
    }
    sheet_ = dao.Prepare(QStringLiteral("INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,最大平方,平方数,使用面積,"
                                        "使用率,切代面積,切代率,端材面積,端材率,余材面積,余材率) "
                                        "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)"));
    pattern_ = dao.Prepare(QStringLiteral("INSERT INTO パターン (パターン番号,パターン種別,優先順位,母材使用数,部材切取数,"
                                          "平均使用率,平均切代率,平均端材率,平均余材率) "
                                          "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9)"));
    prepared_ = true;
}

void SqlitePatternStore::Store(const Engine& e, const std::vector<PiecePlacement>& placements,
                               const std::vector<SheetResult>& sheets)
{
    if (!prepared_)
        prepare();
    cDao& dao = gDao();
    if (!batchOpen_)
        openBatch();
    bool stepOpen = false;
    auto beginStep = [&] {
        dao.BeginTrans();
        stepOpen = true;
    };
    auto commitStep = [&] {
        dao.CommitTrans();
        stepOpen = false;
    };
    try {
        PatternPieceRows(e, placements, pieceRows_);
        beginStep();
        for (size_t next = 0, k = 0; next < pieceRows_.size();) {
            while (pieceRows_.size() - next < size_t(kPieceRowsPerStatement[k]))
                ++k;
            Statement& st = pieces_[k];
            int i = 1;
            for (int n = 0; n < kPieceRowsPerStatement[k]; ++n) {
                const PatternPieceRow& r = pieceRows_[next++];
                for (int64_t v : {r.パターン番号, r.連番, r.部材番号, r.母材番号, r.枝番, r.開始横, r.開始縦, r.終了横, r.終了縦, r.色})
                    st.bind(i++, v);
            }
            st.execute();
        }
        commitStep();

        PatternSheetRows(e, sheets, sheetRows_);
        beginStep();
        for (const PatternSheetRow& r : sheetRows_) {
            int i = 1;
            for (int64_t v : {r.パターン番号, r.連番, r.母材番号, r.枝番, r.最大平方, r.平方数, r.使用面積})
                sheet_.bind(i++, v);
            sheet_.bind(i++, r.使用率);
            sheet_.bind(i++, int64_t(r.切代面積));
            sheet_.bind(i++, r.切代率);
            sheet_.bind(i++, int64_t(r.端材面積));
            sheet_.bind(i++, r.端材率);
            sheet_.bind(i++, int64_t(r.余材面積));
            sheet_.bind(i++, r.余材率);
            sheet_.execute();
        }
        commitStep();

        beginStep();
        const PatternRow p = PatternSummary(e, pieceRows_, sheetRows_);
        pattern_.bind(1, int64_t(p.パターン番号));
        pattern_.bind(2, std::string_view(p.パターン種別));
        pattern_.bind(3, std::string_view(p.優先順位));
        pattern_.bind(4, int64_t(p.母材使用数));
        pattern_.bind(5, int64_t(p.部材切取数));
        pattern_.bind(6, p.平均使用率);
        pattern_.bind(7, p.平均切代率);
        pattern_.bind(8, p.平均端材率);
        pattern_.bind(9, p.平均余材率);
        pattern_.execute();
        commitStep();
    } catch (...) {
        if (stepOpen) {
            try {
                dao.RollbackTrans();
            } catch (...) {
            }
        }
        try {
            Flush();
        } catch (...) {
        }
        throw;
    }
    if (batchClock_.elapsed() >= kBatchMilliseconds)
        Flush();
}

void SqlitePatternStore::Flush()
{
    if (!batchOpen_)
        return;
    batchOpen_ = false;
    try {
        gDao().CommitTrans();
    } catch (...) {
        // A commit that failed leaves the batch open: undo it, so the next batch starts clean.
        try {
            gDao().RollbackTrans();
        } catch (...) {
        }
        throw;
    }
}

void SqlitePatternStore::End()
{
    if (checkIndexes_)
        restoreIndexes();
    Flush();
    for (Statement& st : pieces_)
        st = Statement();
    sheet_ = Statement();
    pattern_ = Statement();
    prepared_ = false;
}

void SqlitePatternStore::restoreIndexes()
{
    // Those still there (never dropped, or a batch undone with its drops) stay as they are.
    const std::vector<const PatternIndex*> missing = missingIndexes(*gDao().CurrentDB());
    if (!missing.empty()) {
        if (!batchOpen_)
            openBatch();
        try {
            buildIndexes(missing);
        } catch (...) {
            // The rows stored stay: only the building is undone.
            try {
                Flush();
            } catch (...) {
            }
            throw;
        }
    }
    checkIndexes_ = false;
}

bool PatternIndexesMissing() { return !missingIndexes(*gDao().CurrentDB()).empty(); }

void RestorePatternIndexes()
{
    const std::vector<const PatternIndex*> missing = missingIndexes(*gDao().CurrentDB());
    if (!missing.empty())
        buildIndexes(missing);
}

void MemoryPatternStore::Clear(const std::function<void(int)>& cleared)
{
    signatures_ = {};
    pieces_ = {};
    sheets_ = {};
    patterns_ = {};
    PatternStore::Clear(cleared);
}

void MemoryPatternStore::Discard()
{
    for (Pattern& p : patterns_)
        p.discarded = true;
}

void MemoryPatternStore::Store(const Engine& e, const std::vector<PiecePlacement>& placements,
                               const std::vector<SheetResult>& sheetResults)
{
    PatternPieceRows(e, placements, pieceRows_);
    PatternSheetRows(e, sheetResults, sheetRows_);
    PatternRow row = PatternSummary(e, pieceRows_, sheetRows_);
    const std::string* signature = &*signatures_.insert(std::move(row.パターン種別)).first;
    std::string().swap(row.パターン種別);   // frees it (an assignment would keep its buffer)
    patterns_.push_back({pieces_.size(), sheets_.size(), e.KerfWidth, e.KerfColor, std::move(row), signature});
    // Piece and kerf rows are told apart by 部材番号 when there is kerf; without kerf there is none.
    for (const PatternPieceRow& r : pieceRows_)
        if (r.部材番号 != kKerfPart || e.KerfWidth == 0)
            pieces_.push_back({int16_t(r.連番), int16_t(r.部材番号), int16_t(r.母材番号), int16_t(r.枝番),
                               int16_t(r.開始横), int16_t(r.開始縦), int16_t(r.終了横), int16_t(r.終了縦), r.色});
    sheets_.insert(sheets_.end(), sheetRows_.begin(), sheetRows_.end());
}

MemoryPatternStore::Rows MemoryPatternStore::rows(size_t index) const
{
    const Pattern& p = patterns_.at(index);
    const bool last = index + 1 == patterns_.size();
    const size_t pieceEnd = last ? pieces_.size() : patterns_[index + 1].firstPiece;
    const size_t sheetEnd = last ? sheets_.size() : patterns_[index + 1].firstSheet;
    Rows out;
    out.hasPattern = !p.discarded;
    out.pattern = p.row;
    out.pattern.パターン種別 = *p.signature;
    for (size_t i = p.firstPiece; i < pieceEnd; ++i) {
        const Piece& c = pieces_[i];
        out.pieces.push_back({p.row.パターン番号, c.連番, c.部材番号, c.母材番号, c.枝番, c.開始横, c.開始縦, c.終了横, c.終了縦, c.色});
        if (p.kerf != 0)
            AppendKerfRows(out.pieces.back(), p.kerf, p.kerfColor, out.pieces);
    }
    out.sheets.assign(sheets_.begin() + ptrdiff_t(p.firstSheet), sheets_.begin() + ptrdiff_t(sheetEnd));
    return out;
}
