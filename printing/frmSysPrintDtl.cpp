#include "printing/frmSysPrintDtl.h"

#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cDao.h"
#include "foundation/gui/cFoldDlg.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Keys.h"
#include "platform/gui/ReportPrinter.h"
#include "printing/PrinterTable.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/NewFrmCtrl.h"
#include "ui/cCtrls.h"
#include "ui/cFrmCtrl.h"
#include "ui/mdlMain.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kModule = QStringLiteral("frmSysPrintDtl");
const QString kCaption = QStringLiteral("プリンタ設定");

// Runs one statement; a failing one is skipped.
void skip(const std::function<void()>& statement)
{
    try {
        statement();
    } catch (const std::exception&) {
    }
}

// The Text of a combo box: the entry of exactly that text becomes the current one; a text no
// entry has leaves none current (an editable box shows the text all the same).
void setComboText(QComboBox* box, const QString& text)
{
    const int index = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index);
    if (index < 0 && box->isEditable())
        box->setEditText(text);
}

// Forwards focus events of a control.
class FocusFilter : public QObject {
public:
    FocusFilter(QObject* parent, std::function<void(QFocusEvent*)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut)
            handler_(static_cast<QFocusEvent*>(e));
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void(QFocusEvent*)> handler_;
};

// Forwards the key presses of a control; the key goes on unless the handler sets its code to 0.
class KeyFilter : public QObject {
public:
    KeyFilter(QObject* parent, std::function<void(int&, int&)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, e);
        auto* k = static_cast<QKeyEvent*>(e);
        int code = VbKeyCode(k), shift = VbShiftState(k);
        if (code == 0)
            return false;
        handler_(code, shift);
        return code == 0;
    }

private:
    std::function<void(int&, int&)> handler_;
};

// The editor's cAreport, made on first use.
cAreport& areportOf(std::unique_ptr<cAreport>& a)
{
    if (!a)
        a = std::make_unique<cAreport>();
    return *a;
}

}  // namespace

frmSysPrintDtl& gSysPrintDtl()
{
    static frmSysPrintDtl* form = new frmSysPrintDtl;   // lives as long as the program
    return *form;
}

frmSysPrintDtl::frmSysPrintDtl() : HandledForm(QStringLiteral("frmSysPrintDtl")) {}

frmSysPrintDtl::~frmSysPrintDtl()
{
    if (ctrl_)
        ctrl_->TerminateControls();
}

void frmSysPrintDtl::createControls(FormWindow* w)
{
    SetDialogFrame(w, kCaption, QSize(470, 336));

    const int labelLeft = 14, boxLeft = 112, boxWidth = 300, rowHeight = 30, top = 12;
    auto label = [w](QPointer<QLabel>& l, const char* name, const QString& text, int y) {
        l = NewControl<QLabel>(w, name, QRect(labelLeft, y, 92, 24), text);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    };
    auto combo = [w](QPointer<QComboBox>& c, const char* name, bool editable, int y, int width) {
        c = NewControl<QComboBox>(w, name, QRect(boxLeft, y, width, 24));
        c->setEditable(editable);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->setMaxVisibleItems(12);
    };
    auto browse = [w](QPointer<QPushButton>& b, const char* name, int y) {
        b = NewCommandButton(w, name, QStringLiteral("..."), QRect(boxLeft + boxWidth + 4, y, 28, 24));
    };
    int y = top;
    label(labReport, "labReport", QStringLiteral("帳票名"), y);
    combo(cmbReport, "cmbReport", true, y, boxWidth);
    y += rowHeight;
    label(labPrint, "labPrint", QStringLiteral("プリンタ名"), y);
    combo(cmbPrint, "cmbPrint", true, y, boxWidth);
    browse(butPrint, "butPrint", y);
    y += rowHeight;
    label(labPort, "labPort", QStringLiteral("使用ポート"), y);
    combo(cmbPort, "cmbPort", true, y, boxWidth);
    browse(butPort, "butPort", y);
    y += rowHeight;
    label(labSize, "labSize", QStringLiteral("用紙サイズ"), y);
    combo(cmbSize, "cmbSize", false, y, boxWidth);
    y += rowHeight;
    label(labDirect, "labDirect", QStringLiteral("印刷方向"), y);
    picDirect = NewControl<QFrame>(w, "picDirect", QRect(boxLeft, y, 160, 24));
    picDirect->setFrameShape(QFrame::StyledPanel);
    SetBackColor(picDirect, 0xFFFFFF);
    for (int i = 0; i < 2; ++i) {
        optDirect[size_t(i)] = NewMember<QRadioButton>(picDirect, "optDirect", i, QRect(4 + i * 70, 2, 60, 20),
                                                       i == 0 ? QStringLiteral("縦") : QStringLiteral("横"));
    }
    y += rowHeight;
    label(labBin, "labBin", QStringLiteral("給紙方法"), y);
    combo(cmbBin, "cmbBin", false, y, boxWidth);
    y += rowHeight;
    label(labMode, "labMode", QStringLiteral("印刷設定"), y);
    combo(cmbMode, "cmbMode", false, y, 200);
    y += rowHeight;
    label(labKind, "labKind", QStringLiteral("印刷区分"), y);
    combo(cmbKind, "cmbKind", false, y, 200);
    y += rowHeight;
    label(labBikou, "labBikou", QStringLiteral("備考"), y);
    txtBikou = NewControl<ImText>(w, "txtBikou", QRect(boxLeft, y, boxWidth + 32, 24));

    auto lineButton = [w](QPointer<LineButton>& b, const char* name, const QString& caption, int left) {
        b = NewLineButton(w, name, caption, QRect(left, 288, 108, 36));
    };
    lineButton(lbutEntry, "lbutEntry", QStringLiteral("追\u3000加"), 112);
    lineButton(lbutDel, "lbutDel", QStringLiteral("削\u3000除"), 232);
    lineButton(lbutClose, "lbutClose", QStringLiteral("閉じる"), 352);

    const QList<QWidget*> order = {cmbReport, cmbPrint, butPrint, cmbPort, butPort, cmbSize, optDirect[0], optDirect[1],
                                   cmbBin, cmbMode, cmbKind, txtBikou, lbutEntry, lbutDel, lbutClose};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // Events.
    connect(lbutEntry, &LineButton::Click, w, [this] { handle("lbutEntry_Click", [this] { lbutEntry_Click(); }); });
    connect(lbutDel, &LineButton::Click, w, [this] { handle("lbutDel_Click", [this] { lbutDel_Click(); }); });
    connect(lbutClose, &LineButton::Click, w, [this] { handle("lbutClose_Click", [this] { lbutClose_Click(); }); });
    connect(butPrint, &QPushButton::clicked, w, [this] { handle("butPrint_Click", [this] { butPrint_Click(); }); });
    connect(butPort, &QPushButton::clicked, w, [this] { handle("butPort_Click", [this] { butPort_Click(); }); });
    for (QComboBox* box : {cmbPort.data(), cmbSize.data(), cmbBin.data(), cmbMode.data(), cmbKind.data()})
        connect(box, &QComboBox::activated, w, [this, box] { handle("combo_Click", [this, box] { combo_Click(box); }); });
    for (int i = 0; i < 2; ++i) {
        connect(optDirect[size_t(i)], &QRadioButton::clicked, w, [this, i] {
            handle("optDirect_Click", [this, i] { optDirect_Click(i); });
        });
        optDirect[size_t(i)]->installEventFilter(new FocusFilter(optDirect[size_t(i)], [this, i](QFocusEvent* e) {
            handle("optDirect_GotFocus", [this, i, e] { optDirect_Focus(i, e->type() == QEvent::FocusIn); });
        }));
        optDirect[size_t(i)]->installEventFilter(new KeyFilter(optDirect[size_t(i)], [this](int& code, int& shift) {
            handle("optDirect_KeyDown", [&] { optDirect_KeyDown(code, shift); });
        }));
    }
    // The printer box's check runs when the focus leaves it for another control of the window.
    cmbPrint->installEventFilter(new FocusFilter(cmbPrint, [this](QFocusEvent* e) {
        if (e->type() != QEvent::FocusOut || e->reason() == Qt::PopupFocusReason ||
            e->reason() == Qt::ActiveWindowFocusReason || validating_)
            return;
        QWidget* now = QApplication::focusWidget();
        if (!now || now == cmbPrint || cmbPrint->isAncestorOf(now))
            return;
        handle("cmbPrint_Validate", [this] {
            validating_ = true;
            const bool ok = cmbPrint_Validate();
            validating_ = false;
            if (!ok)
                cmbPrint->setFocus(Qt::OtherFocusReason);
        });
        validating_ = false;
    }));
}

void frmSysPrintDtl::Form_Load()
{
    handle("Form_Load", [this] {
        base_ = std::make_unique<cBase>();
        ctrl_ = NewFrmCtrl(*this);
        ctrl_->DataClear();
        SetFormControlsStyle(*this);
        SetControlLayout();
        InitCombo();
    });
}

void frmSysPrintDtl::SetControlLayout()
{
    const std::vector<std::pair<QWidget*, QLabel*>> links = {
        {cmbReport, labReport}, {cmbPrint, labPrint}, {cmbPort, labPort}, {cmbSize, labSize}, {optDirect[0], labDirect},
        {optDirect[1], labDirect}, {cmbBin, labBin}, {cmbMode, labMode}, {cmbKind, labKind}};
    for (const auto& [control, caption] : links)
        if (cCtrls* item = ctrl_->ControlItem(control))
            item->SetCaption(caption);
    ctrl_->RestCaptionControl();
    ctrl_->SetCaptionBackVisible(true);
    ctrl_->FormCaptionsColor(1);
    gApl().SetButLineColor(lbutClose, kRoleExit);
    gApl().SetButLineColor(lbutEntry, kRoleNew);
    gApl().SetButLineColor(lbutDel, kRoleDelete);
}

void frmSysPrintDtl::InitCombo()
{
    for (QComboBox* box : {cmbPrint.data(), cmbPort.data(), cmbSize.data(), cmbBin.data(), cmbMode.data(), cmbKind.data()})
        box->clear();
    SetReportCombo(cmbReport);
    areportOf(areport_).SetPrinterCombo(cmbPrint);
    areportOf(areport_).SetPaperBinCombo(cmbBin, Variant(cmbPrint->currentText()));
    cmbMode->setUpdatesEnabled(false);
    AddComboItem(cmbMode, 0, QStringLiteral("選択(印刷/プレビュー)"));
    AddComboItem(cmbMode, 1, QStringLiteral("印刷"));
    AddComboItem(cmbMode, 2, QStringLiteral("プレビュー"));
    AddComboItem(cmbMode, 9, QStringLiteral("確認なし"));
    cmbMode->setCurrentIndex(-1);
    cmbMode->setUpdatesEnabled(true);
}

void frmSysPrintDtl::SetReportCombo(QComboBox* box)
{
    box->clear();
    box->setUpdatesEnabled(false);
    AddComboItem(box, 0, kDefaultReportName);
    for (const auto& [number, name] : IniReportNames())
        AddComboItem(box, number, name);
    box->setCurrentIndex(-1);
    box->setUpdatesEnabled(true);
}

void frmSysPrintDtl::AddComboItem(QComboBox* box, int32_t itemData, const QString& text) { box->addItem(text, itemData); }

int frmSysPrintDtl::GetComboIndex(QComboBox* box, int32_t itemData)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->itemData(i).toInt() == itemData)
            return i;
    return -1;
}

QString frmSysPrintDtl::GetComboText(QComboBox* box, int32_t itemData)
{
    const int i = GetComboIndex(box, itemData);
    return i < 0 ? QString() : box->itemText(i);
}

int frmSysPrintDtl::FindComboText(QComboBox* box, const QString& text)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i) == text)
            return i;
    return -1;
}

void frmSysPrintDtl::ResetEdited()
{
    ctrl_->FlagClear();
    m_Edited = false;
}

void frmSysPrintDtl::SetData(int32_t& id, bool& isDetail, int16_t& osFlag)
{
    load();
    if (!isLoaded() || !ctrl_)
        return;
    const cBase& b = *base_;
    if (isDetail) {
        skip([&] { setCaption(kCaption + QStringLiteral(" [詳細]") + QStringLiteral(" - ") + QStringLiteral("Panelo2")); });
        m_IsDetail = true;
        Recordset rs;
        skip([&] { rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM m_printer WHERE ID=") + b.CvtSQL(Variant(id), kSqlLong)); });
        // A field of a missing row reads as empty.
        const auto field = [&rs](const QString& name) {
            try {
                return rs.field(name);
            } catch (const std::exception&) {
                return Variant();
            }
        };
        skip([&] { m_ID = b.CvtLng(field(QStringLiteral("ID"))); });
        skip([&] { setComboText(cmbReport, b.CvtStr(field(QStringLiteral("ReportName")))); });
        skip([&] { m_PrinterName = b.CvtStr(field(PrinterNameColumn(osFlag))); });
        skip([&] { setComboText(cmbPrint, m_PrinterName); });
        skip([&] { areportOf(areport_).SetPortCombo(cmbPort, Variant(m_PrinterName)); });
        skip([&] { areportOf(areport_).SetPaperSizeCombo(cmbSize, Variant(m_PrinterName)); });
        skip([&] { setComboText(cmbPort, b.CvtStr(field(PrinterPortColumn(osFlag)))); });
        skip([&] { m_PaperSize = b.CvtInt(field(QStringLiteral("PaperSize"))); });
        skip([&] { setComboText(cmbSize, GetComboText(cmbSize, m_PaperSize)); });
        skip([&] {
            const bool landscape = b.CvtInt(field(QStringLiteral("PaperDirect"))) == 2;
            optDirect[landscape ? 1 : 0]->setChecked(true);
            m_PaperDirect = landscape ? 2 : 1;
        });
        skip([&] { m_PaperBin = b.CvtInt(field(QStringLiteral("PaperBin"))); });
        skip([&] { areportOf(areport_).SetPaperBinCombo(cmbBin, Variant(m_PrinterName)); });
        skip([&] { setComboText(cmbBin, GetComboText(cmbBin, m_PaperBin)); });
        skip([&] { m_PrintMode = b.CvtInt(field(QStringLiteral("PrintMode"))); });
        skip([&] { setComboText(cmbMode, GetComboText(cmbMode, m_PrintMode)); });
        skip([&] { txtBikou->setText(b.CvtStr(field(QStringLiteral("Memo")))); });
        skip([&] { lbutDel->setEnabled(cmbReport->currentText() != kDefaultReportName); });
        skip([&] { ctrl_->ControlItem(cmbReport)->SetStyle(3); });
        skip([&] {
            lbutEntry->setCaption(QStringLiteral("更\u3000新"));
            gApl().SetButLineColor(lbutEntry, kRoleAdd);
        });
    } else {
        skip([&] { setCaption(kCaption + QStringLiteral(" [新規]") + QStringLiteral(" - ") + QStringLiteral("Panelo2")); });
        m_IsDetail = false;
        m_PrinterName.clear();
        m_PaperSize = 0;
        m_PaperDirect = 1;
        m_PaperBin = 0;
        m_PrintMode = 0;
        skip([&] { optDirect[0]->setChecked(true); });
        skip([&] { cmbMode->setCurrentIndex(0); });
        skip([&] { lbutDel->setEnabled(false); });
        skip([&] { ctrl_->ControlItem(cmbReport)->SetStyle(4); });
        skip([&] {
            lbutEntry->setCaption(QStringLiteral("追\u3000加"));
            gApl().SetButLineColor(lbutEntry, kRoleNew);
        });
    }
    m_Kind = osFlag;
    ResetEdited();
}

// --- the printer box and the dialogs ----------------------------------------------------------

bool frmSysPrintDtl::cmbPrint_Validate()
{
    const QString text = cmbPrint->currentText();
    if (text.isEmpty() || text.compare(m_PrinterName, Qt::CaseInsensitive) == 0)
        return true;
    if (FindComboText(cmbPrint, text) < 0) {
        MsgBox(QStringLiteral("プリンタが見つかりません。"), vbExclamation, caption());
        return false;
    }
    m_PrinterName = text;
    areportOf(areport_).SetPortCombo(cmbPort, Variant(text));
    areportOf(areport_).SetPaperSizeCombo(cmbSize, Variant(text));
    areportOf(areport_).SetPaperBinCombo(cmbBin, Variant(text));
    return true;
}

void frmSysPrintDtl::butPrint_Click()
{
    ReportPrinter printer;
    bool confirmed = false;
    skip([&] { confirmed = printer.setup(loadedWindow()); });
    if (!confirmed)
        return;
    skip([&] { setComboText(cmbPrint, printer.deviceName()); });
    skip([&] {
        if (!cmbPrint_Validate())
            cmbPrint->setFocus(Qt::OtherFocusReason);
    });
    skip([&] { setComboText(cmbPort, printer.port()); });
    skip([&] { m_PaperSize = int16_t(printer.paperSize()); });
    skip([&] { areportOf(areport_).SetPaperSizeCombo(cmbSize, Variant(m_PrinterName)); });
    skip([&] { setComboText(cmbSize, GetComboText(cmbSize, m_PaperSize)); });
    skip([&] {
        m_PaperDirect = int16_t(printer.orientation());
        optDirect[m_PaperDirect == 2 ? 1 : 0]->setChecked(true);
    });
    skip([&] { m_PaperBin = int16_t(printer.paperBin()); });
    skip([&] { areportOf(areport_).SetPaperBinCombo(cmbBin, Variant(m_PrinterName)); });
    skip([&] { setComboText(cmbBin, GetComboText(cmbBin, m_PaperBin)); });
    skip([&] {
        cmbMode->setCurrentIndex(GetComboIndex(cmbMode, 0));
        m_PrintMode = 0;
    });
    m_Edited = true;
}

void frmSysPrintDtl::butPort_Click()
{
    cFoldDlg dialog;
    skip([&] { dialog.SelectFolderDialog(loadedWindow(), 18, QStringLiteral("プリンタを選択して下さい。"), kBrowseForPrinter, QString()); });
    skip([&] {
        const QString path = dialog.PathName();
        if (base_->StrLen(Variant(path)) > 0) {
            setComboText(cmbPort, path);
            cmbSize->setFocus(Qt::OtherFocusReason);
        } else {
            cmbPort->setFocus(Qt::OtherFocusReason);
        }
    });
}

void frmSysPrintDtl::combo_Click(QComboBox* box)
{
    const int16_t value = int16_t(box->currentData().toInt());
    if (box == cmbSize)
        m_PaperSize = value;
    else if (box == cmbBin)
        m_PaperBin = value;
    else if (box == cmbMode)
        m_PrintMode = value;
    m_Edited = true;
}

void frmSysPrintDtl::optDirect_Click(int index)
{
    m_PaperDirect = index == 1 ? 2 : 1;
    m_Edited = true;
}

// The orientation buttons colour their caption themselves (control arrays are not bound to
// their wrappers).
void frmSysPrintDtl::optDirect_Focus(int index, bool got)
{
    if (ctrl_)
        if (cCtrls* item = ctrl_->ControlItem(optDirect[size_t(index)]))
            item->CaptionColor(got ? 2 : 1);
}

// Enter moves on from the orientation buttons too: they hand it to the controller themselves.
void frmSysPrintDtl::optDirect_KeyDown(int& keyCode, int& shift)
{
    if (ctrl_ && keyCode == vbKeyReturn)
        ctrl_->KeyDown(keyCode, shift);
}

// --- save, delete, close ----------------------------------------------------------------------

bool frmSysPrintDtl::CheckData()
{
    const cBase& b = *base_;
    const QString report = cmbReport->currentText();
    if (b.StrLen(Variant(report)) == 0) {
        MsgBox(QStringLiteral("帳票名が入力されていません。"), vbCritical, QStringLiteral("入力エラー"));
        cmbReport->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (!m_IsDetail) {
        // The name as it would be stored (trimmed) is compared, so blanks around a stored name
        // do not let it in twice.
        const QString stored = b.CvtStr(gDao().Lookup(QStringLiteral("m_printer"), QStringLiteral("ReportName"),
                                                      QStringLiteral("ReportName=") + b.CvtSQL(Variant(report), kSqlText)));
        if (stored == b.CvtStr(Variant(report))) {
            MsgBox(QStringLiteral("入力した帳票名は登録済みです。"), vbCritical, QStringLiteral("入力エラー"));
            cmbReport->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool frmSysPrintDtl::SaveData()
{
    if (!ctrl_->DataChanged() && !m_Edited)
        return true;
    if (!CheckData())
        return false;
    const cBase& b = *base_;
    const QString r = b.CvtSQL(Variant(cmbReport->currentText()), kSqlText);
    const QString p = b.CvtSQL(Variant(cmbPrint->currentText()), kSqlText);
    const QString o = b.CvtSQL(Variant(cmbPort->currentText()), kSqlText);
    const QString n = b.CvtSQL(Variant(txtBikou->text()), kSqlText);
    const QString nameColumn = PrinterNameColumn(m_Kind);
    const QString portColumn = PrinterPortColumn(m_Kind);
    const QString comma = QStringLiteral(",");
    QString sql;
    try {
        if (m_IsDetail) {
            sql = QStringLiteral("UPDATE m_printer SET ReportName=") + r + comma + nameColumn + QStringLiteral("=") + p +
                  comma + portColumn + QStringLiteral("=") + o + QStringLiteral(",PaperSize=") +
                  b.CvtSQL(Variant(m_PaperSize), kSqlInt) + QStringLiteral(",PaperDirect=") +
                  b.CvtSQL(Variant(m_PaperDirect), kSqlInt) + QStringLiteral(",PaperBin=") +
                  b.CvtSQL(Variant(m_PaperBin), kSqlInt) + QStringLiteral(",PrintMode=") +
                  b.CvtSQL(Variant(m_PrintMode), kSqlInt) + QStringLiteral(",Memo=") + n + QStringLiteral(",Kind=") +
                  b.CvtSQL(Variant(int16_t(1)), kSqlInt) + QStringLiteral(" WHERE ID=") + b.CvtSQL(Variant(m_ID), kSqlLong);
        } else {
            // IDs are 32-bit like the column: the next one after 32767 is 32768.
            const int32_t largest = b.CvtLng(gDao().Lookup(QStringLiteral("m_printer"), QStringLiteral("MAX(ID)"), QString()));
            const int32_t id = largest < 1 ? 1 : largest + 1;
            sql = QStringLiteral("INSERT INTO m_printer (ID,ReportName,") + nameColumn + comma + portColumn +
                  QStringLiteral(",PaperSize,PaperDirect,PaperBin,PrintMode,Memo,Kind) VALUES (") +
                  b.CvtSQL(Variant(id), kSqlLong) + comma + r + comma + p + comma + o + comma +
                  b.CvtSQL(Variant(int32_t(m_PaperSize)), kSqlLong) + comma +
                  b.CvtSQL(Variant(int32_t(m_PaperDirect)), kSqlLong) + comma +
                  b.CvtSQL(Variant(int32_t(m_PaperBin)), kSqlLong) + comma +
                  b.CvtSQL(Variant(int32_t(m_PrintMode)), kSqlLong) + comma + n + comma +
                  b.CvtSQL(Variant(int32_t(1)), kSqlLong) + QStringLiteral(")");
        }
        return WritePrinterRow(sql);
    } catch (const std::exception& e) {
        skip([] { gDao().RollbackTrans(); });
        MsgBox(DescribeError(e), vbCritical, QStringLiteral("データ保存失敗"));
        return false;
    }
}

void frmSysPrintDtl::ResetForNewRow()
{
    ctrl_->DataClear();
    m_PrinterName.clear();
    m_PaperSize = 0;
    m_PaperDirect = 1;
    m_PaperBin = 0;
    m_PrintMode = 0;
    // The size and bin boxes show no entry, as their codes are 0 again.
    cmbSize->setCurrentIndex(-1);
    cmbBin->setCurrentIndex(-1);
    optDirect[0]->setChecked(true);
    cmbMode->setCurrentIndex(0);
    ResetEdited();
    ctrl_->SetForcusTopControl();
}

void frmSysPrintDtl::lbutEntry_Click()
{
    if (!SaveData())
        return;
    if (m_IsDetail) {
        ctrl_->FlagClear();
        m_Edited = false;
        unload(vbFormCode);
    } else {
        ResetForNewRow();
    }
}

void frmSysPrintDtl::lbutDel_Click()
{
    bool cancel = false;
    emit DeleteData(cancel);
    if (cancel)
        return;
    ctrl_->DataClear();
    ctrl_->FlagClear();
    m_Edited = false;
    unload(vbFormCode);
}

void frmSysPrintDtl::lbutClose_Click() { unload(vbFormCode); }

void frmSysPrintDtl::Form_QueryUnload(int& cancel, int)
{
    handle("Form_QueryUnload", [&] {
        if (!(ctrl_ && ctrl_->DataChanged()) && !m_Edited)
            return;
        if (MsgBox(QStringLiteral("破棄して終了しますか。"), vbYesNo + vbQuestion + vbDefaultButton2,
                   QStringLiteral("破棄確認")) == vbNo)
            cancel = 1;
    });
}

void frmSysPrintDtl::Form_Unload(int&)
{
    areport_.reset();
    if (ctrl_)
        ctrl_->TerminateControls();
    ctrl_.reset();
    base_.reset();
    m_Edited = false;
}
