// File open and save dialogs: the record's defaults, filter texts, the extension rule after a
// save, and Qt's dialog as the default runner builds it.
#include "foundation/gui/cFileDlg.h"
#include "tests/support/FileDialogAnswer.h"
#include "platform/gui/GuiSetup.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QString Nul(qsizetype n = 1) { return QString(n, QChar(0)); }

// The filter of the detail window's export: a text pair, a CSV pair, extra NULs at the end.
QString ExportFilter()
{
    return QStringLiteral("テキストファイル(*.txt)") + Nul() + QStringLiteral("*.txt") + Nul()
        + QStringLiteral("CSVファイル(*.csv)") + Nul() + QStringLiteral("*.csv") + Nul() + Nul(2);
}

TEST(FileDlgTest, RecordDefaultsAndFilters)
{
    cFileDlg dlg;
    EXPECT_EQ(nullptr, dlg.hWndOwner());
    EXPECT_EQ(1, dlg.FilterIndex());
    EXPECT_EQ(256, dlg.MaxFileLen());
    EXPECT_EQ(256, dlg.MaxFileTitleLen());
    EXPECT_EQ(QString(), dlg.FileName());
    EXPECT_EQ(Nul(256), dlg.FileTitle());
    EXPECT_EQ(0, dlg.Options());
    EXPECT_EQ(QString(), dlg.Filter());

    EXPECT_EQ(QStringLiteral("テキスト(*.txt)") + Nul() + QStringLiteral("*.txt") + Nul() + QStringLiteral("CSV(*.csv)")
                  + Nul() + QStringLiteral("*.csv") + Nul(),
              dlg.CreateFilters({QStringLiteral("テキスト"), QStringLiteral("txt"), QStringLiteral("CSV"), QStringLiteral("csv")}));
    EXPECT_EQ(QString(), dlg.CreateFilters({}));
    EXPECT_EQ(QString(), dlg.CreateFilters({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    dlg.setFileName(QStringLiteral("abc") + Nul(3));
    EXPECT_EQ(QStringLiteral("abc"), dlg.FileName());
    dlg.setFileName(QStringLiteral("whole"));
    EXPECT_EQ(QStringLiteral("whole"), dlg.FileName());
}

TEST(FileDlgTest, SaveAddsThePickedFiltersExtension)
{
    struct Case { int32_t pick; const char *entered, *expected; };
    const Case cases[] = {
        {2, "/d/report.txt", "/d/report.txt.csv"},
        {2, "/d/Report.CSV", "/d/Report.CSV"},
        {1, "/d/data.txt", "/d/data.txt"},                 // the dialog added the default extension
        {1, "/old.files/data", "/old.files/data.txt"},     // the folder's "." is no extension
        {1, "/d/noext", "/d/noext.txt"},
        {3, "/d/any.bin", "/d/any.bin"},                   // "*.*" names no extension to add
        {9, "/d/x.dat", "/d/x.dat."},                      // no such filter: the empty extension
        {9, "/d/plain", "/d/plain"},
    };
    const QString filter = ExportFilter().chopped(2) + QStringLiteral("すべて(*.*)") + Nul() + QStringLiteral("*.*") + Nul();
    for (const Case& c : cases) {
        FileDialogAnswer fake;
        fake.name = QString::fromUtf8(c.entered);
        fake.filter = c.pick;
        cFileDlg dlg;
        EXPECT_EQ(QString::fromUtf8(c.expected),
                  dlg.SaveFileDialog(nullptr, QStringLiteral("/d"), filter, QStringLiteral("ファイルを保存"), 6,
                                     QStringLiteral("report"), QStringLiteral("txt")))
            << c.entered;
        EXPECT_EQ(c.pick, dlg.FilterIndex());
    }
}

TEST(FileDlgTest, SaveSetsUpTheRecordAndCancelKeepsTheName)
{
    FileDialogAnswer fake;
    cFileDlg dlg;
    QWidget owner;
    EXPECT_EQ(QString(), dlg.SaveFileDialog(&owner, QStringLiteral("/home/u"), ExportFilter(), QStringLiteral("ファイルを保存"),
                                            kOfnOverwritePrompt | kOfnHideReadOnly, QStringLiteral("パターン1"),
                                            QStringLiteral("txt")));
    ASSERT_EQ(1, fake.count);
    EXPECT_TRUE(fake.saveDialog);
    EXPECT_EQ(&owner, fake.shown.owner);
    EXPECT_EQ(ExportFilter(), fake.shown.filter);
    EXPECT_EQ(1, fake.shown.filterIndex);
    EXPECT_EQ(QStringLiteral("パターン1") + Nul(256 - 5), fake.shown.file);
    EXPECT_EQ(255, fake.shown.maxFile);
    EXPECT_EQ(255, fake.shown.maxFileTitle);
    EXPECT_EQ(QStringLiteral("/home/u"), fake.shown.initialDir);
    EXPECT_EQ(QStringLiteral("ファイルを保存"), fake.shown.title);
    EXPECT_EQ(6, fake.shown.flags);
    EXPECT_EQ(QStringLiteral("txt"), fake.shown.defExt);
    EXPECT_EQ(QStringLiteral("パターン1"), dlg.FileName());             // the cancelled buffer keeps the name

    // A second dialog on the same instance works with buffers one character shorter.
    dlg.SaveFileDialog(nullptr, QString(), ExportFilter(), QString(), 6, QStringLiteral("a"), QStringLiteral("txt"));
    EXPECT_EQ(254, fake.shown.maxFile);
}

TEST(FileDlgTest, OpenReturnsThePathOrNothing)
{
    FileDialogAnswer fake;
    cFileDlg dlg;
    dlg.setFilterIndex(2);
    EXPECT_EQ(QString(), dlg.OpenFileDialog(nullptr, QStringLiteral("/d"), ExportFilter(), QStringLiteral("開く"), 0));
    EXPECT_FALSE(fake.saveDialog);
    EXPECT_EQ(2, fake.shown.filterIndex);                                // kept as it was
    EXPECT_EQ(Nul(256), fake.shown.file);
    EXPECT_EQ(QString(), dlg.FileName());

    fake.name = QStringLiteral("/d/input.csv");
    fake.filter = 2;
    EXPECT_EQ(QStringLiteral("/d/input.csv"), dlg.OpenFileDialog(nullptr, QStringLiteral("/d"), ExportFilter(), QString(), 0));
}

TEST(FileDlgTest, QtDialogFollowsTheRecord)
{
    SetupGuiPlatform();
    QTemporaryDir dir;
    OpenFileName record;
    record.filter = ExportFilter();
    record.filterIndex = 2;
    record.file = QStringLiteral("パターン1") + Nul(250);
    record.initialDir = dir.path();
    record.title = QStringLiteral("ファイルを保存");
    record.flags = kOfnOverwritePrompt | kOfnHideReadOnly;
    record.defExt = QStringLiteral("txt");
    std::unique_ptr<QFileDialog> dialog = CreateFileDialog(record, true);

    EXPECT_EQ(QFileDialog::AcceptSave, dialog->acceptMode());
    EXPECT_EQ(QStringLiteral("ファイルを保存"), dialog->windowTitle());
    EXPECT_EQ(QDir(dir.path()).absolutePath(), dialog->directory().absolutePath());
    ASSERT_EQ(2, dialog->nameFilters().size());
    EXPECT_EQ(dialog->nameFilters()[1], dialog->selectedNameFilter());
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QStringLiteral("csv"), dialog->defaultSuffix());          // the picked filter's extension
    emit dialog->filterSelected(dialog->nameFilters()[0]);
    EXPECT_EQ(QStringLiteral("txt"), dialog->defaultSuffix());

    dialog->resize(640, 420);
    dialog->show();
    QCoreApplication::processEvents();
    const QLineEdit* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(nullptr, name);
    EXPECT_EQ(QStringLiteral("パターン1"), name->text());
    const QComboBox* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(nullptr, types);
    EXPECT_EQ(QStringLiteral("テキストファイル(*.txt)"), types->itemText(0));   // the description as it is
    QImage image(dialog->size(), QImage::Format_ARGB32);
    dialog->render(&image);
    EXPECT_TRUE(image.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/foundation_file_save_dialog.png")));

    record.flags = 0;
    EXPECT_TRUE(CreateFileDialog(record, true)->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QFileDialog::AnyFile, CreateFileDialog(record, false)->fileMode());
    record.flags = kOfnFileMustExist;
    EXPECT_EQ(QFileDialog::ExistingFile, CreateFileDialog(record, false)->fileMode());
}

TEST(FileDlgTest, QtDialogWritesTheAnswerIntoTheRecord)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("出力.csv"));
    QTimer::singleShot(0, [chosen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        dialog->selectNameFilter(dialog->nameFilters().value(1));
        dialog->selectFile(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTimer guard;                                                      // never left waiting
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(10000);
    cFileDlg dlg;
    EXPECT_EQ(chosen, dlg.SaveFileDialog(nullptr, dir.path(), ExportFilter(), QStringLiteral("ファイルを保存"), 6,
                                         QStringLiteral("出力"), QStringLiteral("txt")));
    EXPECT_EQ(2, dlg.FilterIndex());
    EXPECT_TRUE(dlg.FileTitle().startsWith(QStringLiteral("出力.csv") + Nul()));
}

} // namespace
