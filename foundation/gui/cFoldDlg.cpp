#include "foundation/gui/cFoldDlg.h"

#include "foundation/gui/NulBuffer.h"
#include "platform/gui/TitleBar.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace {

constexpr qsizetype kNameBuffer = 260;            // the display-name buffer

FolderBrowser& folderBrowser()
{
    static FolderBrowser browser;
    return browser;
}

std::optional<FolderItem> RunQtBrowser(QWidget* owner, const QString& root, const QString& title, int32_t options)
{
    std::unique_ptr<QDialog> dialog = CreateFolderBrowser(owner, root, title, options);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    if (auto* list = qobject_cast<QInputDialog*>(dialog.get())) {
        const QString printer = list->textValue();
        if (printer.isEmpty())
            return std::nullopt;
        return FolderItem{printer, printer};
    }
    const QStringList chosen = static_cast<QFileDialog*>(dialog.get())->selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    const QString name = QDir(chosen.first()).dirName();
    return FolderItem{name.isEmpty() ? chosen.first() : name, chosen.first()};
}

} // namespace

FolderBrowser SetFolderBrowser(FolderBrowser browser)
{
    FolderBrowser previous = folderBrowser();
    folderBrowser() = std::move(browser);
    return previous;
}

std::unique_ptr<QDialog> CreateFolderBrowser(QWidget* owner, const QString& root, const QString& title,
                                             int32_t options)
{
    const QString caption = UpToNul(title);
    if (options & kBrowseForPrinter) {
        auto list = std::make_unique<QInputDialog>(owner);
        list->setWindowTitle(caption);
        list->setLabelText(caption);
        list->setComboBoxItems(QPrinterInfo::availablePrinterNames());
        list->setComboBoxEditable(false);
        // The dialog sizes itself to its contents: a label as wide as the title bar needs keeps
        // the whole title in view.
        if (auto* label = list->findChild<QLabel*>())
            label->setMinimumWidth(TitleBarWidth(caption));
        return list;
    }
    auto dialog = std::make_unique<QFileDialog>(owner, caption, root);
    dialog->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly);
    dialog->setFileMode(QFileDialog::Directory);
    return dialog;
}

QString SpecialFolderRoot(int32_t specialFolder)
{
    switch (specialFolder) {
    case 0: return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    case 5: return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    case 17: return QStringLiteral("/");
    default: return QString();
    }
}

cFoldDlg::cFoldDlg()
{
    InitBrowseInfo();
}

void cFoldDlg::InitBrowseInfo()
{
    owner_ = nullptr;
    root_ = SpecialFolderRoot(0);
    ClearPathName();
    title_.clear();
    flags_ = 0;
    lastSelection_.reset();
}

void cFoldDlg::ClearPathName()
{
    displayName_ = NulBuffer(QString(), kNameBuffer);
}

QString cFoldDlg::PathName() const
{
    if (flags_ & kBrowseForComputer)
        return UpToNul(displayName_);
    return lastSelection_ ? *lastSelection_ : QString();
}

QString cFoldDlg::SelectFolderDialog(QWidget* owner, int32_t root, const QString& title, int32_t options,
                                     const QString& startPath)
{
    ClearPathName();
    owner_ = owner;
    root_ = startPath.isEmpty() ? SpecialFolderRoot(root) : startPath;
    setTitle(title);
    flags_ = options;
    const std::optional<FolderItem> item = folderBrowser() ? folderBrowser()(owner_, root_, title, flags_)
                                                           : RunQtBrowser(owner_, root_, title, flags_);
    lastSelection_.reset();
    if (item) {
        displayName_ = NulBuffer(item->displayName, kNameBuffer);
        lastSelection_ = item->path;
    }
    return PathName();
}
