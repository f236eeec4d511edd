// The storage floor: the pattern rows of a finished run inserted again by the plainest program,
// as the yardstick of the pattern store.
//
//   storage-floor OUT.mdb [FLOOR.mdb]
//
// OUT.mdb is the output of `panelo2-run --store sqlite`. Its rows of パターン部材, パターン母材 and
// パターン are read into memory; then a fresh database built from schema/working.sql (the same
// tables and indexes) receives them through three prepared statements in one transaction, pattern
// by pattern in the order the program wrote them (its piece rows, its sheet rows, its summary row),
// every value bound with the type it was stored with. Only that transaction is timed. The fresh
// database is FLOOR.mdb when given (kept, so its tables can be compared with OUT.mdb's); otherwise
// OUT.mdb.floor beside OUT.mdb, removed at the end.
//
// Exit codes: 0 done, 1 usage or a failure (its message printed). The last two lines printed
// are `rows N` and `seconds S`.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kTables[] = {"パターン部材", "パターン母材", "パターン"};

// The rows of one table, each value with its storage class; texts in one buffer.
struct Table {
    int columns = 0;
    std::string insert;                  // INSERT INTO t (c1,...) VALUES(?1,...)
    std::vector<int64_t> patternNo;      // per row: its パターン番号 (the first column)
    std::vector<unsigned char> types;    // per value
    std::vector<int64_t> values;         // integer, double bits, or offset into texts
    std::vector<uint32_t> lengths;       // per value: the length of a text
    std::string texts;
};

[[noreturn]] void fail(const std::string& what, sqlite3* db)
{
    std::fprintf(stderr, "storage-floor: %s: %s\n", what.c_str(), db ? sqlite3_errmsg(db) : "");
    std::exit(1);
}

void check(int rc, int expected, const std::string& what, sqlite3* db)
{
    if (rc != expected)
        fail(what, db);
}

Table readTable(sqlite3* db, const char* name)
{
    Table t;
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(db, (std::string("SELECT * FROM ") + name + " ORDER BY rowid").c_str(), -1, &st, nullptr),
          SQLITE_OK, std::string("reading ") + name, db);
    t.columns = sqlite3_column_count(st);
    std::string cols, params;
    for (int c = 0; c < t.columns; ++c) {
        cols.append(c ? "," : "").append(sqlite3_column_name(st, c));
        params.append(c ? ",?" : "?").append(std::to_string(c + 1));
    }
    t.insert = std::string("INSERT INTO ") + name + " (" + cols + ") VALUES(" + params + ")";
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        t.patternNo.push_back(sqlite3_column_int64(st, 0));
        for (int c = 0; c < t.columns; ++c) {
            const int type = sqlite3_column_type(st, c);
            int64_t v = 0;
            uint32_t length = 0;
            if (type == SQLITE_INTEGER) {
                v = sqlite3_column_int64(st, c);
            } else if (type == SQLITE_FLOAT) {
                const double d = sqlite3_column_double(st, c);
                std::memcpy(&v, &d, sizeof v);
            } else if (type != SQLITE_NULL) {
                const auto* p = static_cast<const char*>(sqlite3_column_blob(st, c));
                length = uint32_t(sqlite3_column_bytes(st, c));
                v = int64_t(t.texts.size());
                t.texts.append(p ? p : "", length);
            }
            t.types.push_back((unsigned char)type);
            t.values.push_back(v);
            t.lengths.push_back(length);
        }
    }
    check(rc, SQLITE_DONE, std::string("reading ") + name, db);
    sqlite3_finalize(st);
    return t;
}

void insertRow(sqlite3* db, sqlite3_stmt* st, const Table& t, size_t row)
{
    for (int c = 0; c < t.columns; ++c) {
        const size_t i = row * size_t(t.columns) + size_t(c);
        const int64_t v = t.values[i];
        int rc = SQLITE_OK;
        switch (t.types[i]) {
        case SQLITE_INTEGER:
            rc = sqlite3_bind_int64(st, c + 1, v);
            break;
        case SQLITE_FLOAT: {
            double d;
            std::memcpy(&d, &v, sizeof d);
            rc = sqlite3_bind_double(st, c + 1, d);
            break;
        }
        case SQLITE_NULL:
            rc = sqlite3_bind_null(st, c + 1);
            break;
        case SQLITE_TEXT:
            rc = sqlite3_bind_text(st, c + 1, t.texts.data() + v, int(t.lengths[i]), SQLITE_STATIC);
            break;
        default:
            rc = sqlite3_bind_blob(st, c + 1, t.texts.data() + v, int(t.lengths[i]), SQLITE_STATIC);
        }
        check(rc, SQLITE_OK, "binding", db);
    }
    check(sqlite3_step(st), SQLITE_DONE, "inserting", db);
    sqlite3_reset(st);
}

}

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: storage-floor OUT.mdb [FLOOR.mdb]\n");
        return 1;
    }
    const std::string source = argv[1];
    sqlite3* in = nullptr;
    check(sqlite3_open_v2(source.c_str(), &in, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK, "opening " + source, in);
    std::vector<Table> tables;
    for (const char* name : kTables)
        tables.push_back(readTable(in, name));
    sqlite3_close(in);

    std::ifstream script(PANELO2_SCHEMA_DIR "/working.sql");
    std::stringstream schema;
    schema << script.rdbuf();
    if (!script)
        fail("cannot read " PANELO2_SCHEMA_DIR "/working.sql", nullptr);
    const bool keep = argc == 3;
    const std::string target = keep ? argv[2] : source + ".floor";
    std::remove(target.c_str());
    std::remove((target + "-journal").c_str());
    sqlite3* out = nullptr;
    check(sqlite3_open(target.c_str(), &out), SQLITE_OK, "creating " + target, out);
    check(sqlite3_exec(out, schema.str().c_str(), nullptr, nullptr, nullptr), SQLITE_OK, "building " + target, out);

    const auto start = std::chrono::steady_clock::now();
    std::vector<sqlite3_stmt*> inserts;
    for (const Table& t : tables) {
        sqlite3_stmt* st = nullptr;
        check(sqlite3_prepare_v2(out, t.insert.c_str(), -1, &st, nullptr), SQLITE_OK, t.insert, out);
        inserts.push_back(st);
    }
    check(sqlite3_exec(out, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK, "BEGIN", out);
    // Pattern by pattern: the rows of the lowest pattern number not yet written, table by table.
    std::vector<size_t> next(tables.size(), 0);
    size_t rows = 0;
    for (;;) {
        int64_t pattern = INT64_MAX;
        for (size_t i = 0; i < tables.size(); ++i)
            if (next[i] < tables[i].patternNo.size())
                pattern = std::min(pattern, tables[i].patternNo[next[i]]);
        if (pattern == INT64_MAX)
            break;
        for (size_t i = 0; i < tables.size(); ++i)
            for (; next[i] < tables[i].patternNo.size() && tables[i].patternNo[next[i]] == pattern; ++next[i], ++rows)
                insertRow(out, inserts[i], tables[i], next[i]);
    }
    check(sqlite3_exec(out, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK, "COMMIT", out);
    for (sqlite3_stmt* st : inserts)
        sqlite3_finalize(st);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    sqlite3_close(out);
    if (!keep)
        std::remove(target.c_str());

    std::printf("rows %zu\nseconds %.3f\n", rows, seconds);
    return 0;
}
