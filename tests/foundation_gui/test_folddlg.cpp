// Folder browser: the record's defaults, the answer rules (path, display name, cancel), the
// root that a start path replaces, and Qt's dialogs as the default browser builds them.
#include "foundation/gui/cFoldDlg.h"
#include "platform/gui/GuiSetup.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QInputDialog>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FakeBrowser {
    FakeBrowser() : previous(SetFolderBrowser([this](QWidget* o, const QString& r, const QString& t, int32_t opt) {
        owner = o;
        root = r;
        title = t;
        options = opt;
        return answer;
    })) {}
    ~FakeBrowser() { SetFolderBrowser(previous); }
    std::optional<FolderItem> answer;
    QWidget* owner = nullptr;
    QString root, title;
    int32_t options = -1;
    FolderBrowser previous;
};

TEST(FoldDlgTest, RecordDefaultsAndTitle)
{
    cFoldDlg dlg;
    EXPECT_EQ(nullptr, dlg.hWndOwner());
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), dlg.Root());
    EXPECT_EQ(QString(), dlg.PathName());
    EXPECT_EQ(0, dlg.Options());
    dlg.setTitle(QStringLiteral("abc"));
    EXPECT_EQ(QStringLiteral("abc") + QChar(0), dlg.Title());
    dlg.setRootName(QStringLiteral("/srv"));
    EXPECT_EQ(QStringLiteral("/srv"), dlg.Root());
    dlg.setRoot(17);
    EXPECT_EQ(QStringLiteral("/"), dlg.Root());

    dlg.setOptions(kBrowseForComputer);
    dlg.setPathName(QStringLiteral("HOST") + QString(3, QChar(0)));
    EXPECT_EQ(QStringLiteral("HOST"), dlg.PathName());
    dlg.ClearPathName();
    EXPECT_EQ(QString(), dlg.PathName());
}

TEST(FoldDlgTest, AnswerRules)
{
    struct Case { std::optional<FolderItem> chosen; int32_t options; const char* expected; };
    const Case cases[] = {
        {FolderItem{QStringLiteral("LBP-1"), QStringLiteral("LBP-1")}, kBrowseForPrinter, "LBP-1"},
        {std::nullopt, kBrowseForPrinter, ""},                                        // cancelled
        {FolderItem{QStringLiteral("SERVER"), QString()}, kBrowseForComputer, "SERVER"},   // the display name
        {std::nullopt, kBrowseForComputer, ""},
        {FolderItem{QStringLiteral("data"), QStringLiteral("/srv/data")}, 0, "/srv/data"},
        {FolderItem{QStringLiteral("Network"), QString()}, 0, ""},                    // an item without a path
    };
    for (const Case& c : cases) {
        FakeBrowser fake;
        fake.answer = c.chosen;
        cFoldDlg dlg;
        QWidget owner;
        EXPECT_EQ(QString::fromUtf8(c.expected),
                  dlg.SelectFolderDialog(&owner, 18, QStringLiteral("プリンタを選択して下さい。"), c.options, QString()));
        EXPECT_EQ(QString::fromUtf8(c.expected), dlg.PathName());                  // the same answer afterwards
        EXPECT_EQ(&owner, fake.owner);
        EXPECT_EQ(QString(), fake.root);                                          // 18, the network: no folder here
        EXPECT_EQ(QStringLiteral("プリンタを選択して下さい。"), fake.title);
        EXPECT_EQ(c.options, fake.options);
        EXPECT_EQ(c.options, dlg.Options());
    }
}

TEST(FoldDlgTest, StartPathBecomesTheRoot)
{
    FakeBrowser fake;
    fake.answer = FolderItem{QStringLiteral("sub"), QStringLiteral("/srv/sub")};
    cFoldDlg dlg;
    EXPECT_EQ(QStringLiteral("/srv/sub"), dlg.SelectFolderDialog(nullptr, 0, QString(), 0, QStringLiteral("/srv")));
    EXPECT_EQ(QStringLiteral("/srv"), fake.root);
    EXPECT_EQ(QStringLiteral("/srv"), dlg.Root());
    dlg.SelectFolderDialog(nullptr, 5, QString(), 0, QString());
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), fake.root);
}

TEST(FoldDlgTest, QtBrowsersForFoldersAndPrinters)
{
    SetupGuiPlatform();
    QTemporaryDir dir;
    std::unique_ptr<QDialog> folders = CreateFolderBrowser(nullptr, dir.path(), QStringLiteral("フォルダを選択して下さい。"), 0);
    auto* fd = qobject_cast<QFileDialog*>(folders.get());
    ASSERT_NE(nullptr, fd);
    EXPECT_EQ(QFileDialog::Directory, fd->fileMode());
    EXPECT_EQ(QDir(dir.path()).absolutePath(), fd->directory().absolutePath());
    EXPECT_EQ(QStringLiteral("フォルダを選択して下さい。"), fd->windowTitle());

    std::unique_ptr<QDialog> printers = CreateFolderBrowser(nullptr, QString(), QStringLiteral("プリンタを選択して下さい。"),
                                                            kBrowseForPrinter);
    auto* list = qobject_cast<QInputDialog*>(printers.get());
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(QStringLiteral("プリンタを選択して下さい。"), list->windowTitle());
    EXPECT_EQ(QStringLiteral("プリンタを選択して下さい。"), list->labelText());
    EXPECT_EQ(QPrinterInfo::availablePrinterNames(), list->comboBoxItems());

    const std::pair<QDialog*, const char*> shots[] = {{fd, "foundation_folder_dialog.png"},
                                                      {list, "foundation_printer_browser.png"}};
    for (const auto& [dialog, file] : shots) {
        dialog->show();
        QCoreApplication::processEvents();
        QImage image(dialog->size(), QImage::Format_ARGB32);
        dialog->render(&image);
        EXPECT_TRUE(image.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/") + QLatin1String(file)));
        if (dialog == list) {   // the title bar shows the whole title (openbox's bar takes 104 pixels beside it)
            QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
            title.setBold(true);
            EXPECT_GE(dialog->width(), QFontMetrics(title).horizontalAdvance(dialog->windowTitle()) + 104);
        }
        dialog->hide();
    }
}

} // namespace
