#include "app/frmSetting.h"

#include "app/SystemSettings.h"
#include "engine/Engine.h"
#include "engine/VbMath.h"
#include "foundation/ErrLog.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/MsgBox.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Handler.h"
#include "platform/gui/ImNumber.h"
#include "platform/gui/Keys.h"
#include "ui/ControlFactory.h"
#include "ui/LineButton.h"
#include "ui/mdlMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace {

const QString kModule = QStringLiteral("frmSetting");
const QStringList kCriteria = {kSortKeyFragments, kSortKeyUsed, kSortKeyKerf, kSortKeyOffcut};

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& r,
              Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* l = NewControl<QLabel>(parent, name, r, text);
    l->setAlignment(a);
    return l;
}

// Puts the focus on the chosen option of a group (from index 0 upwards); none of the first
// chosen: the last one. A single control is its own group.
void focusGroup(const std::vector<QWidget*>& group)
{
    for (size_t i = 0; i + 1 < group.size(); ++i)
        if (auto* o = qobject_cast<QRadioButton*>(group[i]); o && o->isChecked()) {
            SetFocusByKey(o);
            return;
        }
    SetFocusByKey(group.back());
}

template <size_t N>
std::vector<QWidget*> group(const std::array<QPointer<QRadioButton>, N>& options)
{
    std::vector<QWidget*> out;
    for (const auto& o : options)
        out.push_back(o);
    return out;
}

template <size_t N>
void choose(const std::array<QPointer<QRadioButton>, N>& options, int value)
{
    if (value >= 0 && value < int(N))
        options[size_t(value)]->setChecked(true);
}

// The index of the chosen option, from 0 upwards; none chosen: the value is kept.
template <size_t N>
void chosen(const std::array<QPointer<QRadioButton>, N>& options, int16_t& value)
{
    for (size_t i = 0; i < N; ++i)
        if (options[i]->isChecked()) {
            value = int16_t(i);
            return;
        }
}

// Moves every selected item, from the top down, to the end of the other list.
void moveSelected(QListWidget* from, QListWidget* to)
{
    for (;;) {
        int i = 0;
        while (i < from->count() && !from->item(i)->isSelected())
            ++i;
        if (i >= from->count())
            return;
        const QString text = from->item(i)->text();
        delete from->takeItem(i);
        to->addItem(text);
    }
}

// Exchanges the texts of two items; the selection stays where it was and is then moved.
void moveItem(QListWidget* list, int i, int j)
{
    const QString t = list->item(i)->text();
    list->item(i)->setText(list->item(j)->text());
    list->item(j)->setText(t);
    list->item(i)->setSelected(false);
    list->item(j)->setSelected(true);
}

// Forwards the key presses of a control to a handler; the key goes on unchanged.
class KeyDownFilter : public QObject {
public:
    KeyDownFilter(QObject* parent, std::function<void(int, int)> handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (const int code = VbKeyCode(k))
                handler_(code, VbShiftState(k));
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void(int, int)> handler_;
};

}  // namespace

frmSetting::frmSetting() : HandledForm(QStringLiteral("frmSetting")) {}

void frmSetting::createControls(FormWindow* w)
{
    SetDialogFrame(w, QStringLiteral("システム設定"), QSize(722, 470));

    // Left column.
    auto pair = [&](const char* frameName, const QString& caption, int row, std::array<QPointer<QRadioButton>, 2>& options,
                    const char* name, const QString& first, const QString& second) {
        auto* g = NewControl<QGroupBox>(w, frameName, QRect(8, 6 + row * 69, 360, 62), caption);
        options[0] = NewMember<QRadioButton>(g, name, 0, QRect(16, 26, 100, 22), first);
        options[1] = NewMember<QRadioButton>(g, name, 1, QRect(124, 26, 100, 22), second);
    };
    pair("fraHojoLine", QStringLiteral("切取補助線の表示設定"), 0, optHojoLine, "optHojoLine", QStringLiteral("表示"),
         QStringLiteral("非表示"));
    pair("fraPosision", QStringLiteral("部材の切取位置の設定"), 1, optPosision, "optPosision", QStringLiteral("左詰め"),
         QStringLiteral("上詰め"));
    auto* f = NewControl<QGroupBox>(w, "fraSlit", QRect(8, 144, 360, 62), QStringLiteral("スリット切取の設定"));
    optSlit[0] = NewMember<QRadioButton>(f, "optSlit", 0, QRect(12, 26, 118, 22), QStringLiteral("スリット設定無し"));
    optSlit[1] = NewMember<QRadioButton>(f, "optSlit", 1, QRect(136, 26, 106, 22), QStringLiteral("横方向スリット"));
    optSlit[2] = NewMember<QRadioButton>(f, "optSlit", 2, QRect(246, 26, 106, 22), QStringLiteral("縦方向スリット"));
    pair("fraSlitLine", QStringLiteral("スリット線の表示設定"), 3, optSlitLine, "optSlitLine", QStringLiteral("表示"),
         QStringLiteral("非表示"));

    // Right column: the piece order and the rotation method, fastest first; beside each group a
    // column of labels (labSpeed) from 高速 down to 低速.
    int speedLabel = 0;
    auto speedLabels = [&](QWidget* parent, int top, int bottom) {
        const int x = 290, h = 16, gap = (bottom - top - h) / 3;
        const std::pair<const char16_t*, QRect> column[] = {
            {u"高速", QRect(x, top, 36, h)},          {u"低速", QRect(x, bottom, 36, h)},
            {u"↑", QRect(x, top + h, 36, gap)},       {u"|", QRect(x, top + h + gap, 36, gap)},
            {u"↓", QRect(x, top + h + 2 * gap, 36, gap)}};
        for (const auto& [text, r] : column)
            NewMember<QLabel>(parent, "labSpeed", speedLabel++, r, QString::fromUtf16(text))->setAlignment(Qt::AlignCenter);
    };
    f = NewControl<QGroupBox>(w, "fraBuzaiOrder", QRect(376, 6, 338, 160), QStringLiteral("部材の切取順序の設定"));
    optBuzaiOrder[0] = NewMember<QRadioButton>(f, "optBuzaiOrder", 0, QRect(12, 20, 240, 20), QStringLiteral("指定順に切り取る"));
    const char* checks[] = {"部材番号順", "面積の大きい順", "幅の大きい順", "長さの大きい順"};
    for (int i = 0; i < 4; ++i)
        chkBuzaiOrder[size_t(i)] = NewMember<QCheckBox>(f, "chkBuzaiOrder", i, QRect(34 + (i % 2) * 120, 42 + (i / 2) * 22, 118, 20),
                                                        QString::fromUtf8(checks[i]));
    optBuzaiOrder[1] = NewMember<QRadioButton>(f, "optBuzaiOrder", 1, QRect(12, 90, 240, 20),
                                               QStringLiteral("同一部材は連続して切り取る"));
    optBuzaiOrder[2] = NewMember<QRadioButton>(f, "optBuzaiOrder", 2, QRect(12, 114, 240, 20), QStringLiteral("総当り"));
    speedLabels(f, 20, 120);
    f = NewControl<QGroupBox>(w, "fraRevolution", QRect(376, 172, 338, 104), QStringLiteral("部材の回転方式の設定"));
    optRevolution[0] = NewMember<QRadioButton>(f, "optRevolution", 0, QRect(12, 22, 200, 20), QStringLiteral("簡易Panelo方式"));
    optRevolution[1] = NewMember<QRadioButton>(f, "optRevolution", 1, QRect(12, 48, 200, 20), QStringLiteral("Panelo方式"));
    optRevolution[2] = NewMember<QRadioButton>(f, "optRevolution", 2, QRect(12, 74, 200, 20), QStringLiteral("総当り"));
    speedLabels(f, 14, 84);

    // The ranking criteria: not chosen on the left, chosen in priority order on the right.
    f = NewControl<QGroupBox>(w, "fraOrderBy", QRect(8, 282, 706, 118), QStringLiteral("リストの並び替え設定"));
    label(f, "labOrderBy", QStringLiteral("並べ替え項目"), QRect(360, 16, 160, 18));
    auto list = [&](const char* name, int x) {
        auto* l = NewControl<QListWidget>(f, name, QRect(x, 34, 160, 76));
        l->setSelectionMode(QAbstractItemView::MultiSelection);
        return l;
    };
    auto button = [&](const char* name, const QString& text, int x, int y) {
        return NewCommandButton(f, name, text, QRect(x, y, 34, 28));
    };
    lstOrderBySelect = list("lstOrderBySelect", 150);
    butRight = button("butRight", QStringLiteral("→"), 318, 40);
    butLeft = button("butLeft", QStringLiteral("←"), 318, 76);
    lstOrderBy = list("lstOrderBy", 360);
    butUp = button("butUp", QStringLiteral("↑"), 528, 40);
    butDown = button("butDown", QStringLiteral("↓"), 528, 76);

    // The list's look, beside the buttons.
    f = NewControl<QGroupBox>(w, "fraDisplay", QRect(8, 406, 400, 56), QStringLiteral("一覧画面の表示設定"));
    label(f, "labSize", QStringLiteral("サイズ"), QRect(8, 24, 40, 22));
    cmbSize = NewControl<QComboBox>(f, "cmbSize", QRect(50, 24, 80, 22));
    label(f, "labBozmax", QStringLiteral("母材数"), QRect(144, 24, 40, 22));
    numBozmax = NewNumberBox(f, "numBozmax", QRect(186, 24, 36, 22), QStringLiteral("#0"));
    numBozmax->setMinValue(0);
    numBozmax->setMaxValue(10);
    label(f, "labBozmaxUnit", QStringLiteral("枚"), QRect(226, 24, 16, 22));
    label(f, "labList", QStringLiteral("リスト数"), QRect(256, 24, 50, 22));
    numList = NewNumberBox(f, "numList", QRect(308, 24, 46, 22), QStringLiteral("###0"));
    numList->setMinValue(0);
    numList->setMaxValue(1000);
    label(f, "labListUnit", QStringLiteral("通り"), QRect(358, 24, 30, 22));

    lbutAdd = NewLineButton(w, "lbutAdd", QStringLiteral("設\u3000定"), QRect(482, 420, 110, 34));
    lbutClose = NewLineButton(w, "lbutClose", QStringLiteral("キャンセル"), QRect(604, 420, 110, 34));

    // The tab order: the option groups in the order of the Enter chain, then the rest.
    QList<QWidget*> order;
    for (auto* g : {&optHojoLine, &optPosision})
        for (auto& o : *g)
            order << o;
    for (auto& o : optSlit)
        order << o;
    for (auto& o : optSlitLine)
        order << o;
    order << optBuzaiOrder[0];
    for (auto& c : chkBuzaiOrder)
        order << c;
    order << optBuzaiOrder[1] << optBuzaiOrder[2];
    for (auto& o : optRevolution)
        order << o;
    order << cmbSize << numBozmax << numList << lstOrderBySelect << butRight << butLeft << lstOrderBy << butUp
          << butDown << lbutAdd << lbutClose;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // Events.
    QObject::connect(lbutAdd, &LineButton::Click, w, [this] { handle("lbutAdd_Click", [this] { lbutAdd_Click(); }); });
    QObject::connect(lbutClose, &LineButton::Click, w, [this] { handle("lbutClose_Click", [this] { lbutClose_Click(); }); });
    QObject::connect(butRight, &QPushButton::clicked, w, [this] { handle("butRight_Click", [this] { butRight_Click(); }); });
    QObject::connect(butLeft, &QPushButton::clicked, w, [this] { handle("butLeft_Click", [this] { butLeft_Click(); }); });
    QObject::connect(butUp, &QPushButton::clicked, w, [this] { handle("butUp_Click", [this] { butUp_Click(); }); });
    QObject::connect(butDown, &QPushButton::clicked, w, [this] { handle("butDown_Click", [this] { butDown_Click(); }); });
    for (int i = 0; i < 3; ++i)
        QObject::connect(optBuzaiOrder[size_t(i)], &QRadioButton::toggled, w, [this, i](bool on) {
            if (on)
                handle("optBuzaiOrder_Click", [this, i] { optBuzaiOrder_Click(i); });
        });

    // Enter (Shift+Enter) moves between the option groups.
    struct Link {
        const char* procedure;
        std::vector<QWidget*> controls, next, previous;
    };
    const std::vector<Link> chain = {
        {"optHojoline_KeyDown", group(optHojoLine), group(optPosision), {lbutClose}},
        {"optPosision_KeyDown", group(optPosision), group(optSlit), group(optHojoLine)},
        {"optSlit_KeyDown", group(optSlit), group(optSlitLine), group(optPosision)},
        {"optSlitLine_KeyDown", group(optSlitLine), group(optBuzaiOrder), group(optSlit)},
        {"optBuzaiOrder_KeyDown", group(optBuzaiOrder), group(optRevolution), group(optSlitLine)},
        {"optRevolution_KeyDown", group(optRevolution), {cmbSize}, group(optBuzaiOrder)},
        {"cmbSize_KeyDown", {cmbSize}, {numBozmax}, group(optRevolution)},
    };
    for (const Link& link : chain)
        for (QWidget* c : link.controls) {
            auto* filter = new KeyDownFilter(c, [this, link](int code, int shift) {
                handle(link.procedure, [&] {
                    if (code != vbKeyReturn)
                        return;
                    focusGroup(shift == vbShiftMask ? link.previous : link.next);
                });
            });
            c->installEventFilter(filter);
        }
}

void frmSetting::Form_Load()
{
    handle("Form_Load", [this] {
        InitInputControls(*this);
        SetButtonColors();
        InitSizeCombo();
        InitOrderByList();
        ShowSettings();
        setCaption(caption() + QStringLiteral(" - ") + QStringLiteral("Panelo2"));
    });
}

void frmSetting::SetButtonColors()
{
    gApl().SetButLineColor(lbutAdd, kRoleNew);
    gApl().SetButLineColor(lbutClose, kRoleExit);
}

void frmSetting::InitSizeCombo()
{
    cmbSize->addItems({QStringLiteral("最小値"), QStringLiteral("基準値"), QStringLiteral("最大値")});
    cmbSize->setCurrentText(QStringLiteral("基準値"));
}

void frmSetting::InitOrderByList() { lstOrderBySelect->addItems(kCriteria); }

void frmSetting::ShowSettings()
{
    const SystemSettings& s = gEngine().Settings;
    const DisplaySettings& d = gDisplay();
    choose(optHojoLine, d.GuideLine);
    choose(optPosision, s.CutPosition);
    choose(optBuzaiOrder, s.CutOrder);
    for (int i = 0; i < 4; ++i)
        chkBuzaiOrder[size_t(i)]->setChecked((s.CutOrderDetail & (1 << i)) != 0);
    choose(optRevolution, s.RotationMode);
    choose(optSlit, s.SlitMode);
    choose(optSlitLine, d.SlitLine);
    // A stored value outside the list shows no entry and is kept on confirmation.
    cmbSize->setCurrentIndex(d.DisplaySize >= 0 && d.DisplaySize < cmbSize->count() ? d.DisplaySize : -1);
    numBozmax->setValue(s.DisplaySheets);
    numList->setValue(d.DisplayListCount);
    const QStringList pieces = s.SortKeyList.split(QLatin1Char(','));
    for (qsizetype i = 1; i < pieces.size(); ++i)
        for (int j = 0; j < lstOrderBySelect->count(); ++j)
            if (lstOrderBySelect->item(j)->text() == pieces[i]) {
                delete lstOrderBySelect->takeItem(j);
                lstOrderBy->addItem(pieces[i]);
                break;
            }
}

bool frmSetting::CheckSettings()
{
    if (!optBuzaiOrder[kOrderGiven]->isChecked())
        return true;
    for (const auto& c : chkBuzaiOrder)
        if (c->isChecked())
            return true;
    SetFocusOn(chkBuzaiOrder[0]);
    MsgBox(QStringLiteral("切取順をチェックして下さい。"), vbExclamation, caption());
    return false;
}

void frmSetting::lbutAdd_Click()
{
    if (!CheckSettings())
        return;
    SystemSettings& s = gEngine().Settings;
    DisplaySettings& d = gDisplay();
    chosen(optHojoLine, d.GuideLine);
    chosen(optPosision, s.CutPosition);
    chosen(optSlit, s.SlitMode);
    chosen(optSlitLine, d.SlitLine);
    chosen(optBuzaiOrder, s.CutOrder);
    int16_t detail = 0;
    for (int i = 0; i < 4; ++i)
        if (chkBuzaiOrder[size_t(i)]->isChecked())
            detail = int16_t(detail + (1 << i));
    s.CutOrderDetail = detail;
    chosen(optRevolution, s.RotationMode);
    if (cmbSize->currentIndex() >= 0)
        d.DisplaySize = int16_t(cmbSize->currentIndex());
    s.DisplaySheets = CIntOf(numBozmax->value());
    d.DisplayListCount = CIntOf(numList->value());
    QString keys;
    int16_t flags = 0;
    for (int i = 0; i < lstOrderBy->count(); ++i) {
        const QString text = lstOrderBy->item(i)->text();
        keys += QLatin1Char(',') + text;
        const qsizetype bit = kCriteria.indexOf(text);
        if (bit >= 0)
            flags = int16_t(flags + (1 << bit));
    }
    s.SortKeyList = keys;
    s.SortKeyFlags = flags;

    const cBase& b = gBase();
    auto n = [&](int16_t v) { return b.CvtSQL(Variant(v), kSqlInt); };
    const QString sql = QStringLiteral("UPDATE ") + QStringLiteral("システム設定") + QStringLiteral(" SET") +
                        QStringLiteral(" 切取補助線 = ") + n(d.GuideLine) + QStringLiteral(",切取位置 = ") + n(s.CutPosition) +
                        QStringLiteral(",部材切取順序 = ") + n(s.CutOrder) + QStringLiteral(",部材切取順序詳細 = ") +
                        n(s.CutOrderDetail) + QStringLiteral(",回転方式 = ") + n(s.RotationMode) +
                        QStringLiteral(",スリット = ") + n(s.SlitMode) + QStringLiteral(",スリット線 = ") + n(d.SlitLine) +
                        QStringLiteral(",表示サイズ = ") + n(d.DisplaySize) + QStringLiteral(",表示母材 = ") +
                        n(s.DisplaySheets) + QStringLiteral(",表示リスト = ") + n(d.DisplayListCount) +
                        QStringLiteral(",並び替え項目 = ") + b.CvtSQL(Variant(s.SortKeyList), kSqlText);
    // The settings hold for this session either way; a row that could not be written is logged.
    if (gDao().Execute(sql, dbFailOnError) < 0)
        SetErrLog(QStringLiteral("システム設定を更新できません。"), kModule, QStringLiteral("lbutAdd_Click"));
    unload();
}

void frmSetting::lbutClose_Click() { unload(); }

void frmSetting::butRight_Click() { moveSelected(lstOrderBySelect, lstOrderBy); }

void frmSetting::butLeft_Click() { moveSelected(lstOrderBy, lstOrderBySelect); }

void frmSetting::butUp_Click()
{
    for (int i = 1; i < lstOrderBy->count(); ++i)
        if (lstOrderBy->item(i)->isSelected())
            moveItem(lstOrderBy, i, i - 1);
}

void frmSetting::butDown_Click()
{
    for (int i = lstOrderBy->count() - 2; i >= 0; --i)
        if (lstOrderBy->item(i)->isSelected())
            moveItem(lstOrderBy, i, i + 1);
}

// "Panelo方式" is not offered together with the order "総当り".
void frmSetting::optBuzaiOrder_Click(int index)
{
    if (index == kOrderEveryPiece) {
        if (optRevolution[kRotationPanelo]->isChecked())
            optRevolution[kRotationSimple]->setChecked(true);
        optRevolution[kRotationPanelo]->setEnabled(false);
    } else {
        optRevolution[kRotationPanelo]->setEnabled(true);
    }
}
