-- The save database: named saves of whole computations. The eight working tables it copies
-- from and to are reached through the shared connection; LinkedTables names them, and
-- start-up points each link at the working database.
-- Pages of 32 KiB: the rows a computation stores, a save copies and a recall copies back move
-- fastest so (bench/README.md), and a layout's signature of a few KB fits a page.
PRAGMA page_size = 32768;
PRAGMA journal_mode = DELETE;
BEGIN;

CREATE TABLE LinkedTables (Name TEXT PRIMARY KEY, SourceTableName TEXT, Connect TEXT);
INSERT INTO LinkedTables (Name, SourceTableName, Connect) VALUES
  ('システム設定', 'システム設定', ';DATABASE='), ('パターン', 'パターン', ';DATABASE='),
  ('パターンリスト', 'パターンリスト', ';DATABASE='), ('パターン母材', 'パターン母材', ';DATABASE='),
  ('パターン部材', 'パターン部材', ';DATABASE='), ('設定', '設定', ';DATABASE='),
  ('母材', '母材', ';DATABASE='), ('部材', '部材', ';DATABASE=');

-- One row per named save. Names compare without regard to ASCII case.
CREATE TABLE 保存 (保存番号 INTEGER, 保存名 TEXT COLLATE NOCASE, 保存年月日 DATE);
CREATE UNIQUE INDEX 保存_番号 ON 保存 (保存番号);

CREATE TABLE 保存システム設定 (
  保存番号 INTEGER, 切取補助線 SMALLINT, 切取位置 SMALLINT, 部材切取順序 SMALLINT, 部材切取順序詳細 SMALLINT,
  回転方式 SMALLINT, スリット SMALLINT, 表示サイズ SMALLINT, 表示母材 SMALLINT, 表示リスト SMALLINT,
  並び替え項目 TEXT);
CREATE INDEX 保存システム設定_番号 ON 保存システム設定 (保存番号);

CREATE TABLE 保存パターン (
  保存番号 INTEGER, パターン番号 INTEGER, パターン種別 TEXT, 優先順位 TEXT, 母材使用数 SMALLINT,
  部材切取数 INTEGER, 平均使用率 DOUBLE, 平均切代率 DOUBLE, 平均端材率 DOUBLE, 平均余材率 DOUBLE);
CREATE INDEX 保存パターン_番号 ON 保存パターン (保存番号);

CREATE TABLE 保存パターンリスト (
  保存番号 INTEGER, パターン番号 INTEGER, リスト番号 INTEGER, 母材使用数 SMALLINT, 部材切取数 INTEGER,
  データ TEXT);
CREATE INDEX 保存パターンリスト_番号 ON 保存パターンリスト (保存番号);

CREATE TABLE 保存パターン母材 (
  保存番号 INTEGER, パターン番号 INTEGER, 連番 INTEGER, 母材番号 INTEGER, 枝番 INTEGER, 最大平方 INTEGER,
  平方数 INTEGER, 使用面積 INTEGER, 使用率 DOUBLE, 切代面積 INTEGER, 切代率 DOUBLE, 端材面積 INTEGER,
  端材率 DOUBLE, 余材面積 INTEGER, 余材率 DOUBLE);
CREATE INDEX 保存パターン母材_番号 ON 保存パターン母材 (保存番号);

CREATE TABLE 保存パターン部材 (
  保存番号 INTEGER, パターン番号 INTEGER, 連番 SMALLINT, 母材番号 SMALLINT, 部材番号 SMALLINT, 枝番 SMALLINT,
  開始横 SMALLINT, 開始縦 SMALLINT, 終了横 SMALLINT, 終了縦 SMALLINT, 色 INTEGER);
CREATE INDEX 保存パターン部材_番号 ON 保存パターン部材 (保存番号);

CREATE TABLE 保存設定 (保存番号 INTEGER, ライン INTEGER, ライン幅 INTEGER);
CREATE INDEX 保存設定_番号 ON 保存設定 (保存番号);

CREATE TABLE 保存母材 (
  保存番号 INTEGER, 母材番号 SMALLINT, 幅 INTEGER, 長さ INTEGER, 数 INTEGER, 色 TEXT, 色値 INTEGER, 予備 TEXT);
CREATE INDEX 保存母材_番号 ON 保存母材 (保存番号);

CREATE TABLE 保存部材 (
  保存番号 INTEGER, 部材番号 SMALLINT, 幅 INTEGER, 長さ INTEGER, 数 INTEGER, 色 TEXT, 色値 INTEGER, 回転 BOOLEAN);
CREATE INDEX 保存部材_番号 ON 保存部材 (保存番号);

COMMIT;
