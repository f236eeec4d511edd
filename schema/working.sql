-- The working database: input, settings, results, the detail work table and printer settings.
-- Numeric columns carry numeric types, so numbers given as text literals are stored as numbers.
-- Booleans are -1 (true) and 0 (false); a new row holds 0, never NULL.
-- Pages of 32 KiB: the rows a computation stores, a save copies and a recall copies back move
-- fastest so (bench/README.md), and a layout's signature of a few KB fits a page.
PRAGMA page_size = 32768;
PRAGMA journal_mode = DELETE;
BEGIN;

CREATE TABLE 母材 (
  母材番号 SMALLINT, 幅 INTEGER, 長さ INTEGER, 数 INTEGER, 色 TEXT, 色値 INTEGER, 予備 TEXT);
CREATE TABLE 部材 (
  部材番号 SMALLINT, 幅 INTEGER, 長さ INTEGER, 数 INTEGER, 色 TEXT, 色値 INTEGER, 回転 BOOLEAN DEFAULT 0);

-- The kerf panel: colour and width.
CREATE TABLE 設定 (ライン INTEGER, ライン幅 INTEGER);

CREATE TABLE システム設定 (
  切取補助線 SMALLINT, 切取位置 SMALLINT, 部材切取順序 SMALLINT, 部材切取順序詳細 SMALLINT,
  回転方式 SMALLINT, スリット SMALLINT, スリット線 SMALLINT, 表示サイズ SMALLINT,
  表示母材 SMALLINT, 表示リスト SMALLINT, 並び替え項目 TEXT);
INSERT INTO システム設定 (切取補助線, 切取位置, 部材切取順序, 部材切取順序詳細, 回転方式, スリット,
  スリット線, 表示サイズ, 表示母材, 表示リスト, 並び替え項目)
  VALUES (0, 0, 0, 1, 0, 0, 0, 1, 5, 100, ',使用材の少ない順');

-- One row per stored layout.
CREATE TABLE パターン (
  パターン番号 INTEGER, パターン種別 TEXT, 優先順位 TEXT, 母材使用数 SMALLINT, 部材切取数 INTEGER,
  平均使用率 DOUBLE, 平均切代率 DOUBLE, 平均端材率 DOUBLE, 平均余材率 DOUBLE);
CREATE INDEX パターン_番号 ON パターン (パターン番号);

-- One row per sheet of a layout.
CREATE TABLE パターン母材 (
  パターン番号 INTEGER, 連番 INTEGER, 母材番号 INTEGER, 枝番 INTEGER, 最大平方 INTEGER, 平方数 INTEGER,
  使用面積 INTEGER, 使用率 DOUBLE, 切代面積 INTEGER, 切代率 DOUBLE, 端材面積 INTEGER, 端材率 DOUBLE,
  余材面積 INTEGER, 余材率 DOUBLE);
CREATE INDEX パターン母材_番号 ON パターン母材 (パターン番号, 連番);

-- One row per piece and per kerf band of a layout (部材番号 99 = kerf, 母材番号 0 = not placed).
CREATE TABLE パターン部材 (
  パターン番号 INTEGER, 連番 SMALLINT, 部材番号 SMALLINT, 母材番号 SMALLINT, 枝番 SMALLINT,
  開始横 SMALLINT, 開始縦 SMALLINT, 終了横 SMALLINT, 終了縦 SMALLINT, 色 INTEGER);
CREATE INDEX パターン部材_番号 ON パターン部材 (パターン番号, 連番);

-- The ranked list of distinct layouts.
CREATE TABLE パターンリスト (
  パターン番号 INTEGER, 部材切取数 INTEGER, リスト番号 INTEGER, 母材使用数 SMALLINT, データ TEXT);
CREATE INDEX パターンリスト_番号 ON パターンリスト (パターン番号);

-- The detail window's work table: one row per sheet plus the TOTAL row.
CREATE TABLE パターン詳細 (
  連番 INTEGER, 母材番号 INTEGER, 枝番 INTEGER, 使用材 TEXT, 切代 TEXT, 端材 TEXT, 余材 TEXT,
  部材1 TEXT, 部材2 TEXT, 部材3 TEXT, 部材4 TEXT, 部材5 TEXT, 部材6 TEXT, 部材7 TEXT, 部材8 TEXT,
  部材9 TEXT, 部材10 TEXT, 部材11 TEXT, 部材12 TEXT);

-- Printer settings per report name; "(標準プリンタ設定)" is the default row.
CREATE TABLE M_Printer (
  ID INTEGER, Kind SMALLINT, ReportName TEXT, PrinterNameNT TEXT, PrinterPortNT TEXT,
  PrinterName9x TEXT, PrinterPort9x TEXT, PaperSize SMALLINT, PaperDirect SMALLINT, PaperBin SMALLINT,
  PrintMode SMALLINT, Memo TEXT);
CREATE UNIQUE INDEX M_Printer_ID ON M_Printer (ID);
INSERT INTO M_Printer (ID, Kind, ReportName, PaperSize, PaperDirect, PaperBin, PrintMode, Memo)
  VALUES (1, 1, '(標準プリンタ設定)', 0, 0, 0, 0, NULL);

COMMIT;
