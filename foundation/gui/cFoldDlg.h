#pragma once
// The folder browser: owner, root of the tree, title and options, the dialog, and the chosen
// item's path (or, when computers are browsed, its display name). The dialog is Qt's: a folder
// dialog, or the list of printers when printers are browsed; tests replace it.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QWidget;

// Browse options the program meets.
enum FolderBrowseFlag { kBrowseForComputer = 0x1000, kBrowseForPrinter = 0x2000 };

// The item chosen in the browser: its display name and its path ("" when it has none). A
// printer's path is its name, the name the print system knows it by.
struct FolderItem {
    QString displayName;
    QString path;
};
// Shows the browser rooted at a folder ("" for the default start); nothing when cancelled.
using FolderBrowser = std::function<std::optional<FolderItem>(QWidget* owner, const QString& root,
                                                              const QString& title, int32_t options)>;
// Returns the previous browser; an empty one restores Qt's.
FolderBrowser SetFolderBrowser(FolderBrowser browser);
// Qt's dialog as the default browser sets it up (not shown yet): a QFileDialog for folders, a
// QInputDialog listing the printers with kBrowseForPrinter.
std::unique_ptr<QDialog> CreateFolderBrowser(QWidget* owner, const QString& root, const QString& title,
                                             int32_t options);
// The folder a special folder number stands for (0 desktop, 5 documents, 17 the file system's
// root); "" for the others (18, the network, among them).
QString SpecialFolderRoot(int32_t specialFolder);

class cFoldDlg {
public:
    cFoldDlg();

    QWidget* hWndOwner() const { return owner_; }
    void setHWndOwner(QWidget* owner) { owner_ = owner; }
    QString Root() const { return root_; }                 // the root folder ("" the default)
    void setRoot(int32_t specialFolder) { root_ = SpecialFolderRoot(specialFolder); }
    void setRootName(const QString& path) { root_ = path; }
    // The answer of the last dialog; writing replaces the display-name buffer.
    QString PathName() const;
    void setPathName(const QString& buffer) { displayName_ = buffer; }
    QString Title() const { return title_; }               // as written, with its NUL
    void setTitle(const QString& title) { title_ = title + QChar(0); }
    int32_t Options() const { return flags_; }
    void setOptions(int32_t flags) { flags_ = flags; }

    // Shows the browser (rooted at the start path when one is given, else at the special
    // folder); its answer, "" when cancelled or the item has no path.
    QString SelectFolderDialog(QWidget* owner, int32_t root, const QString& title, int32_t options,
                               const QString& startPath);
    void ClearPathName();

private:
    void InitBrowseInfo();

    QWidget* owner_ = nullptr;
    QString root_;
    QString displayName_;
    QString title_;
    int32_t flags_ = 0;
    std::optional<QString> lastSelection_;                 // the chosen item's path
};
