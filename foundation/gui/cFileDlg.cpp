#include "foundation/gui/cFileDlg.h"

#include "foundation/Globals.h"
#include "foundation/cFile.h"
#include "foundation/gui/NulBuffer.h"

#include <QFileDialog>
#include <QFileInfo>

namespace {

FileDialogRunner& fileDialogRunner()
{
    static FileDialogRunner runner;
    return runner;
}

struct FilterPair {
    QString description, pattern;
};

QList<FilterPair> FilterPairs(const QString& filter)
{
    const QStringList items = filter.split(QChar(0));
    QList<FilterPair> pairs;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        if (items[i].isEmpty() && items[i + 1].isEmpty())
            break;                            // the extra NULs that end the list
        pairs.append({items[i], items[i + 1]});
    }
    return pairs;
}

// Qt's form of one pair: Qt reads the patterns from the parentheses that end the text, so a
// description that ends with its own patterns ("テキスト(*.txt)") serves as it is.
QString QtNameFilter(const FilterPair& pair)
{
    const QString patterns = QString(pair.pattern).replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
    return pair.description.endsWith(tail) ? pair.description : pair.description + QLatin1Char(' ') + tail;
}

// The extension a pattern names ("*.csv" gives csv); "" for a pattern with wildcards in it.
QString PatternExtension(const QString& pattern)
{
    const QString ext = pattern.mid(2);
    return ext.contains(QLatin1Char('*')) || ext.contains(QLatin1Char('?')) || ext.contains(QLatin1Char(';'))
        ? QString()
        : ext;
}

bool RunQtFileDialog(OpenFileName& record, bool save)
{
    std::unique_ptr<QFileDialog> dialog = CreateFileDialog(record, save);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    const QString path = dialog->selectedFiles().constFirst();
    record.file = NulBuffer(path + QChar(0), record.maxFile);
    record.fileTitle = NulBuffer(QFileInfo(path).fileName() + QChar(0), record.maxFileTitle);
    const qsizetype picked = dialog->nameFilters().indexOf(dialog->selectedNameFilter());
    if (picked >= 0)
        record.filterIndex = int32_t(picked + 1);
    return true;
}

bool RunDialog(OpenFileName& record, bool save)
{
    return fileDialogRunner() ? fileDialogRunner()(record, save) : RunQtFileDialog(record, save);
}

} // namespace

FileDialogRunner SetFileDialogRunner(FileDialogRunner runner)
{
    FileDialogRunner previous = fileDialogRunner();
    fileDialogRunner() = std::move(runner);
    return previous;
}

std::unique_ptr<QFileDialog> CreateFileDialog(const OpenFileName& record, bool save)
{
    auto dialog = std::make_unique<QFileDialog>(record.owner, record.title, record.initialDir);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save || !(record.flags & kOfnFileMustExist) ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !(record.flags & kOfnOverwritePrompt))
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
    const QList<FilterPair> pairs = FilterPairs(record.filter);
    QStringList nameFilters;
    for (const FilterPair& pair : pairs)
        nameFilters.append(QtNameFilter(pair));
    if (!nameFilters.isEmpty()) {
        dialog->setNameFilters(nameFilters);
        dialog->selectNameFilter(nameFilters.value(std::clamp<int32_t>(record.filterIndex, 1, int32_t(nameFilters.size())) - 1));
    }
    // The default extension follows the picked filter, as the platform's save dialog does.
    const QString defExt = record.defExt;
    auto suffixFor = [pairs, nameFilters, defExt](const QString& nameFilter) {
        const qsizetype i = nameFilters.indexOf(nameFilter);
        const QString ext = i >= 0 ? PatternExtension(pairs[i].pattern) : QString();
        return ext.isEmpty() ? defExt : ext;
    };
    if (!defExt.isEmpty()) {
        dialog->setDefaultSuffix(suffixFor(dialog->selectedNameFilter()));
        QFileDialog* d = dialog.get();
        QObject::connect(d, &QFileDialog::filterSelected, d,
                         [d, suffixFor](const QString& nameFilter) { d->setDefaultSuffix(suffixFor(nameFilter)); });
    }
    const QString name = UpToNul(record.file);
    if (!name.isEmpty())
        dialog->selectFile(name);
    return dialog;
}

cFileDlg::cFileDlg()
{
    InitOpenFileName();
}

void cFileDlg::InitOpenFileName()
{
    ofn_ = OpenFileName();
    ofn_.file = NulBuffer(QString(), 256);
    ofn_.fileTitle = NulBuffer(QString(), 256);
}

QString cFileDlg::FileName() const
{
    return UpToNul(ofn_.file);
}

void cFileDlg::ClearFileName()
{
    ofn_.file = NulBuffer(QString(), ofn_.maxFile);
    ofn_.fileTitle = NulBuffer(QString(), ofn_.maxFileTitle);
}

QString cFileDlg::OpenFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                                 const QString& title, int32_t options)
{
    ClearFileName();
    ofn_.owner = owner;
    ofn_.filter = filter;
    ofn_.initialDir = initialFolder;
    ofn_.title = title;
    ofn_.flags = options;
    return RunDialog(ofn_, false) ? UpToNul(ofn_.file) : QString();
}

QString cFileDlg::SaveFileDialog(QWidget* owner, const QString& initialFolder, const QString& filter,
                                 const QString& title, int32_t options, const QString& defaultName,
                                 const QString& defaultExt)
{
    ClearFileName();
    ofn_.owner = owner;
    ofn_.filter = filter;
    ofn_.filterIndex = 1;
    ofn_.maxFile = int32_t(ofn_.file.size()) - 1;
    ofn_.fileTitle = ofn_.file;
    ofn_.maxFileTitle = ofn_.maxFile;
    ofn_.initialDir = initialFolder;
    ofn_.title = title;
    ofn_.flags = options;
    ofn_.defExt = defaultExt;
    ofn_.file = NulBuffer(defaultName, 256);
    if (!RunDialog(ofn_, true))
        return QString();
    const QString path = UpToNul(ofn_.file);
    const QString fe = GetFilterExt(ofn_.filter, ofn_.filterIndex);
    // A filter of wildcards ("*.*") adds nothing; a filter index past the pairs names the empty
    // extension, so a name with an extension gets "." added.
    const bool wildcards = !fe.isEmpty() && PatternExtension(QStringLiteral("*.") + fe).isEmpty();
    if (wildcards || GetFileExt(path).toLower() == fe.toLower())
        return path;
    return path + QLatin1Char('.') + fe;
}

QString cFileDlg::CreateFilters(const QStringList& list) const
{
    if (list.isEmpty() || list.size() % 2 != 0)
        return QString();
    QString filter;
    for (qsizetype i = 0; i < list.size(); i += 2) {
        filter += list[i] + QStringLiteral("(*.") + list[i + 1] + QLatin1Char(')') + QChar(0)
            + QStringLiteral("*.") + list[i + 1] + QChar(0);
    }
    return filter;
}

QString cFileDlg::GetFilterExt(const QString& filter, int32_t index) const
{
    const QStringList items = filter.split(QChar(0));
    if (index < 1 || qsizetype(index) * 2 > items.size())
        return QString();
    return items[qsizetype(index) * 2 - 1].mid(2);
}

// The text after the last "." anywhere in the path.
QString cFileDlg::GetFileExt(const QString& path) const
{
    QString folder, baseName, extension;
    gFile().SplitPath(path, folder, baseName, extension);
    return extension;
}
