// The part coordinate export: the save dialog's settings, the file's lines in CP932 with CR LF,
// the CSV name, cancelling, and failures that leave the target as it was and say so.
#include "platform/core/AnsiText.h"
#include "results/PartExport.h"
#include "tests/results/test_detail_fixture.h"
#include "tests/support/FileDialogAnswer.h"
#include "ui/mdlMain.h"

#include <QFile>

namespace {

const QString kLines = QStringLiteral(
    "母材番号,始点X,始点Y,終点X,終点Y\r\n"
    "'2-1,0,0,500,250\r\n'2-1,0,250,500,500\r\n'2-1,500,0,750,250\r\n"
    "'1-1,0,0,500,250\r\n'1-1,0,250,250,500\r\n'1-1,500,0,750,250\r\n");

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

}  // namespace

TEST_F(DetailTest, ExportWritesTheHeaderAndOneLinePerPartInCp932WithCrLf)
{
    frmDetail& d = open();
    selectRow(*d.TDBList, 4);   // sheet 3 shown, its second part chosen
    const QString path = db_.path(QStringLiteral("部材座標.txt"));
    FileDialogAnswer dialog(path);
    Press(d.lbutOutput);
    EXPECT_TRUE(dialog.saveDialog);
    EXPECT_EQ(dialog.shown.title, QStringLiteral("ファイルを保存"));
    EXPECT_EQ(dialog.shown.filter, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ (*.txt)") + QChar(0) + QStringLiteral("*.txt") + QChar(0) +
                                       QStringLiteral("CSV(カンマ区切り) (*.csv)") + QChar(0) + QStringLiteral("*.csv") +
                                       QChar(0) + QChar(0) + QChar(0));
    EXPECT_EQ(dialog.shown.flags, 6);
    EXPECT_EQ(dialog.shown.defExt, QStringLiteral("txt"));
    EXPECT_TRUE(dialog.shown.file.startsWith(QStringLiteral("Text1") + QChar(0)));
    EXPECT_EQ(dialog.shown.initialDir, GetSpecialFolderPath(0));
    EXPECT_EQ(readFile(path), ToAnsi(kLines));
    // The export reads the rows without walking the grid: the choice and the sheet stay.
    EXPECT_EQ(d.TDBList->row(), 4);
    EXPECT_EQ(shown(), 3);

    // Under the CSV filter a name typed without extension gets ".csv"; the content is the same.
    // An existing file is replaced.
    QFile::remove(db_.path(QStringLiteral("parts.csv")));
    {
        FileDialogAnswer csv(db_.path(QStringLiteral("parts")), 2);
        Press(d.lbutOutput);
    }
    EXPECT_EQ(readFile(db_.path(QStringLiteral("parts.csv"))), ToAnsi(kLines));
    {
        FileDialogAnswer again(path);
        Press(d.lbutOutput);
    }
    EXPECT_EQ(readFile(path), ToAnsi(kLines));
}

TEST_F(DetailTest, CancellingTheDialogWritesNothingAndShowsNothing)
{
    frmDetail& d = open();
    FileDialogAnswer dialog{QString()};
    Press(d.lbutOutput);
    EXPECT_TRUE(dialog.saveDialog);
    EXPECT_TRUE(QDir(db_.dir()).entryList({QStringLiteral("*.txt"), QStringLiteral("*.csv")}, QDir::Files).isEmpty());
    EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(DetailTest, AFailedExportSaysSoAndLeavesAnExistingFileAsItWas)
{
    frmDetail& d = open();
    // A folder that does not exist.
    {
        FileDialogAnswer dialog(db_.path(QStringLiteral("missing/parts.txt")));
        boxes_.expect(QStringLiteral("lbutOutput_Click"), vbOK, QStringLiteral("ファイルへの書込みに失敗しました。\r\n"));
        Press(d.lbutOutput);
    }
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].style, vbCritical);
    EXPECT_GT(boxes_.shown()[0].text.size(), QStringLiteral("ファイルへの書込みに失敗しました。\r\n").size());
    EXPECT_FALSE(QFile::exists(db_.path(QStringLiteral("missing/parts.txt"))));
    d.unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    // A pattern whose part table has no rows: the old file keeps its content.
    exec(QStringLiteral("INSERT INTO パターン (パターン番号,母材使用数,部材切取数) VALUES (10,1,0);"
                        "INSERT INTO パターン母材 (パターン番号,連番,母材番号,枝番,使用面積) VALUES (10,1,1,1,0)"));
    gSelection() = ListSelection{10, 2, 1, 1, 1};
    frmDetail& empty = open();
    const QString path = db_.path(QStringLiteral("old.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep\r\n");
    }
    {
        FileDialogAnswer dialog(path);
        boxes_.expect(QStringLiteral("lbutOutput_Click"), vbOK, QStringLiteral("ファイルへの書込みに失敗しました。"));
        Press(empty.lbutOutput);
    }
    EXPECT_EQ(readFile(path), QByteArray("keep\r\n"));
    EXPECT_EQ(boxes_.shown().size(), 2u);
}
