#include "ui/mdlMain.h"

#include "platform/gui/Controls.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Events.h"
#include "platform/gui/Form.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/TDBGrid.h"
#include "platform/gui/Units.h"

#include <QFontMetricsF>

QString GetSpecialFolderPath(int32_t folderId) { return SpecialFolderPath(folderId); }

QString StripNull(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? QString() : text.left(nul);
}

void InitInputControls(Form& form)
{
    for (QWidget* w : form.controls()) {
        const QString type = TypeName(w).toUpper();
        auto* box = qobject_cast<ImEdit*>(w);
        if (!box)
            continue;   // date, time and mask boxes are not used by this program
        auto* text = qobject_cast<ImText*>(w);
        if (type == QLatin1String("IMNUMBER") || (type == QLatin1String("IMTEXT") && text && !text->multiLine())) {
            box->Key.NextCtrl = QStringLiteral("{Enter},{Down}");
            box->Key.PrevCtrl = QStringLiteral("+{Enter},{Up}");
        }
        if (auto* number = qobject_cast<ImNumber*>(w)) {
            number->setSpinEnabled(false);
            number->setSpinVisible(false);
        }
        box->setHighlightText(-1);
    }
}

void InitGridStyle(Form&, TDBGrid& grid)
{
    grid.setAllowAddNew(false);
    grid.setAllowDelete(false);
    grid.setAllowUpdate(false);
    grid.setMarqueeStyle(dbgHighlightRow);
    grid.setMultiSelect(dbgMultiSelectSimple);
    grid.gridStyle().verticalAlignment = dbgVertCenter;
    grid.setHeadLines(1.2);
    grid.setAllowRowSizing(false);
    grid.setAllowColSelect(false);

    // The height of a blank in the grid's font, in twips, plus a fifth.
    QFont font(QString::fromUtf16(kFontPGothic));
    font.setPointSize(9);
    const double textHeight = Twips(QFontMetricsF(font).height());
    const double rowHeight = textHeight * 1.2 * (double(kTwipsPerPixel) / 15.0);
    grid.setDefaultRowHeight(rowHeight / kTwipsPerPixel);

    QFont head = font;
    head.setBold(true);
    grid.setHeadFont(head);
    grid.setFont(font);
    grid.setAlternatingRowStyle(true);
    grid.evenRowStyle().backColor = 0xFFFFFF;
    grid.oddRowStyle().backColor = 0xFFFFEE;
    grid.refresh();
}

void SetFormControlsStyle(Form& form)
{
    for (QWidget* w : form.controls()) {
        const QString type = TypeName(w);
        if (type == QLatin1String("Label")) {
            SetBackStyle(w, 0);
        } else if (type == QLatin1String("OptionButton")) {
            SetBackColor(w, 0xFFFFFF);
            SetForeColor(w, 0);
        } else if (auto* box = qobject_cast<ImEdit*>(w)) {
            if (auto* number = qobject_cast<ImNumber*>(w))
                number->setValue(0);
            QFont f = box->font();
            f.setFamily(QString::fromUtf16(kFontGothic));
            box->setFont(f);
            box->setAlignVertical(2);
            box->Key.Clear = QStringLiteral("{F2}");
            box->Key.NextCtrl = QStringLiteral("{ENTER},{DOWN}");
            box->Key.PrevCtrl = QStringLiteral("+{ENTER},{UP}");
        } else if (auto* grid = qobject_cast<TDBGrid*>(w)) {
            InitGridStyle(form, *grid);
        }
    }
}

double PixelScale(double value, float factor)
{
    const float tpp = float(kTwipsPerPixel);
    return value * double(factor) * double(tpp) * double(tpp / 15.0f);
}

void AddValueItem(TDBColumn& column, const QString& value, const QString& display, bool makeDefault, bool validate)
{
    TDBValueItems& items = column.valueItems();
    items.add(value, display);
    if (makeDefault)
        items.defaultItem = items.count() - 1;
    items.translate = true;
    items.validate = validate;
}

void InitReportHook(QObject*) {}

void BringToFront(QWidget* window)
{
    SetForegroundWindow(LastActivePopup(window));
    for (int i = 0; i < 5; ++i)
        DoEvents();
}

void Wait(double seconds, bool keepEvents) { WaitSeconds(seconds, keepEvents); }

WId GetDesktopHwnd() { return 0; }
