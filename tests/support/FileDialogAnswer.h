#pragma once
// Answers the program's file dialogs during a test as a user would: enters a name under one of
// the filters and confirms it, or cancels when no name is given. Keeps the record each dialog was
// shown with. For the test binaries that link foundation_gui.
#include "foundation/gui/NulBuffer.h"
#include "foundation/gui/cFileDlg.h"

class FileDialogAnswer {
public:
    explicit FileDialogAnswer(const QString& name = QString(), int32_t filter = 1) : name(name), filter(filter)
    {
        previous_ = SetFileDialogRunner([this](OpenFileName& record, bool save) {
            shown = record;
            saveDialog = save;
            ++count;
            if (this->name.isEmpty())
                return false;
            record.file = NulBuffer(this->name, record.maxFile);
            record.filterIndex = this->filter;
            return true;
        });
    }
    ~FileDialogAnswer() { SetFileDialogRunner(std::move(previous_)); }
    FileDialogAnswer(const FileDialogAnswer&) = delete;
    FileDialogAnswer& operator=(const FileDialogAnswer&) = delete;

    QString name;              // entered and confirmed; empty: the dialog is cancelled
    int32_t filter = 1;        // the filter picked, counted from 1
    OpenFileName shown;        // the record of the last dialog, as it was shown
    bool saveDialog = false;   // the last dialog was a save dialog
    int count = 0;             // dialogs shown

private:
    FileDialogRunner previous_;
};
