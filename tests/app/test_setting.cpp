// The settings dialog: what it shows and stores, cancel, the order and rotation interplay, the
// moves of the ranking criteria, the check message and the Enter chain.
#include "app/SystemSettings.h"
#include "app/frmSetting.h"
#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cApl.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "platform/core/Registry.h"
#include "platform/gui/GuiSetup.h"
#include "platform/gui/ImNumber.h"
#include "tests/app/test_patternlist_fixture.h"
#include "tests/platform_gui/GuiTestUtil.h"
#include "tests/support/DbFixture.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/Press.h"
#include "ui/LineButton.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

// The eleven settings as the row and the globals hold them.
struct Settings {
    int16_t guide, position, order, detail, rotation, slit, slitLine, size, sheets, rows;
    QString keys;
    bool operator==(const Settings&) const = default;
};

std::ostream& operator<<(std::ostream& o, const Settings& s)
{
    return o << s.guide << ',' << s.position << ',' << s.order << ',' << s.detail << ',' << s.rotation << ',' << s.slit
             << ',' << s.slitLine << ',' << s.size << ',' << s.sheets << ',' << s.rows << ",[" << s.keys.toStdString() << ']';
}

const QString F = kSortKeyFragments, U = kSortKeyUsed, K = kSortKeyKerf, O = kSortKeyOffcut;
const Settings kA{1, 1, 1, 10, 2, 2, 1, 2, 7, 250, QLatin1Char(',') + O + QLatin1Char(',') + F};
const Settings kB{0, 0, 0, 1, 0, 1, 0, 0, 0, 1000, QString()};

}  // namespace

class SettingDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetupLookOnce();
        reg::SetRootFile(reg::Root::LocalMachine, db_.path(QStringLiteral("hklm.reg")));
        ReleaseApl();
        setGlobals(kB);
    }
    void TearDown() override
    {
        dialog_.reset();
        ReleaseApl();
        reg::SetRootFile(reg::Root::LocalMachine, QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void setGlobals(const Settings& s)
    {
        SystemSettings& e = gEngine().Settings;
        DisplaySettings& d = gDisplay();
        d.GuideLine = s.guide;
        e.CutPosition = s.position;
        e.CutOrder = s.order;
        e.CutOrderDetail = s.detail;
        e.RotationMode = s.rotation;
        e.SlitMode = s.slit;
        d.SlitLine = s.slitLine;
        d.DisplaySize = s.size;
        e.DisplaySheets = s.sheets;
        d.DisplayListCount = s.rows;
        e.SortKeyList = s.keys;
        e.SortKeyFlags = SortKeyFlagsOf(s.keys);
    }
    static Settings globals()
    {
        const SystemSettings& e = gEngine().Settings;
        const DisplaySettings& d = gDisplay();
        return {d.GuideLine, e.CutPosition, e.CutOrder, e.CutOrderDetail, e.RotationMode, e.SlitMode,
                d.SlitLine, d.DisplaySize, e.DisplaySheets, d.DisplayListCount, e.SortKeyList};
    }
    static Settings row()
    {
        Recordset rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM システム設定"));
        const cBase& b = gBase();
        auto n = [&](const char* c) { return b.CvtInt(rs.field(QString::fromUtf8(c))); };
        return {n("切取補助線"), n("切取位置"), n("部材切取順序"), n("部材切取順序詳細"), n("回転方式"), n("スリット"),
                n("スリット線"), n("表示サイズ"), n("表示母材"), n("表示リスト"),
                rs.field(QStringLiteral("並び替え項目")).isNull() ? QString() : rs.field(QStringLiteral("並び替え項目")).stringValue()};
    }
    static void writeRow(const Settings& s)
    {
        gDao().Execute(QStringLiteral("UPDATE システム設定 SET 切取補助線=%1,切取位置=%2,部材切取順序=%3,部材切取順序詳細=%4,"
                                      "回転方式=%5,スリット=%6,スリット線=%7,表示サイズ=%8,表示母材=%9,表示リスト=%10,並び替え項目=%11")
                           .arg(s.guide).arg(s.position).arg(s.order).arg(s.detail).arg(s.rotation).arg(s.slit)
                           .arg(s.slitLine).arg(s.size).arg(s.sheets).arg(s.rows)
                           .arg(s.keys.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('\'') + s.keys + QLatin1Char('\'')),
                       dbFailOnError);
    }

    frmSetting& open()
    {
        dialog_ = std::make_unique<frmSetting>();
        dialog_->show();
        QApplication::setActiveWindow(dialog_->loadedWindow());
        return *dialog_;
    }
    static void click(QWidget* b, std::source_location where = std::source_location::current()) { Press(b, where); }
    static QStringList items(QListWidget* l)
    {
        QStringList out;
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    static std::vector<int> selected(QListWidget* l)
    {
        std::vector<int> out;
        for (int i = 0; i < l->count(); ++i)
            if (l->item(i)->isSelected())
                out.push_back(i);
        return out;
    }

    DbFixture db_;
    ScriptedMsgBox boxes_;
    std::unique_ptr<frmSetting> dialog_;
};

TEST_F(SettingDialogTest, ShowsTheSettingsAndStoresThemUnchangedOnConfirmation)
{
    for (const Settings& s : {kA, kB}) {
        writeRow(kB);
        setGlobals(s);
        frmSetting& d = open();
        EXPECT_EQ(d.caption(), QStringLiteral("システム設定 - Panelo2"));
        EXPECT_TRUE(d.optHojoLine[size_t(s.guide)]->isChecked());
        EXPECT_TRUE(d.optPosision[size_t(s.position)]->isChecked());
        EXPECT_TRUE(d.optBuzaiOrder[size_t(s.order)]->isChecked());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(d.chkBuzaiOrder[size_t(i)]->isChecked(), bool(s.detail & (1 << i)));
        EXPECT_TRUE(d.optRevolution[size_t(s.rotation)]->isChecked());
        EXPECT_TRUE(d.optSlit[size_t(s.slit)]->isChecked());
        EXPECT_TRUE(d.optSlitLine[size_t(s.slitLine)]->isChecked());
        EXPECT_EQ(d.cmbSize->currentIndex(), s.size);
        EXPECT_EQ(d.numBozmax->value(), s.sheets);
        EXPECT_EQ(d.numList->value(), s.rows);
        click(d.lbutAdd);
        EXPECT_FALSE(d.isLoaded());
        EXPECT_EQ(row(), s);
        EXPECT_EQ(globals(), s);
    }
    EXPECT_TRUE(gDao().Lookup(QStringLiteral("システム設定"), QStringLiteral("並び替え項目"), QString()).isNull());
    EXPECT_EQ(gEngine().Settings.SortKeyFlags, 0);
}

TEST_F(SettingDialogTest, EveryControlReachesTheRowAndTheGlobals)
{
    writeRow(kB);
    frmSetting& d = open();
    click(d.optHojoLine[1]);
    click(d.optPosision[1]);
    click(d.optSlit[2]);
    click(d.optSlitLine[1]);
    click(d.optBuzaiOrder[1]);
    click(d.chkBuzaiOrder[0]);   // off
    click(d.chkBuzaiOrder[1]);
    click(d.chkBuzaiOrder[3]);
    click(d.optRevolution[2]);
    d.cmbSize->setCurrentIndex(2);
    d.numBozmax->setValue(7);
    d.numList->setValue(250);
    // The criteria in the user's order: 端材 first, then 欠片.
    d.lstOrderBySelect->item(3)->setSelected(true);
    click(d.butRight);
    d.lstOrderBySelect->item(0)->setSelected(true);
    click(d.butRight);
    EXPECT_EQ(items(d.lstOrderBy), (QStringList{O, F}));
    click(d.lbutAdd);
    EXPECT_EQ(row(), kA);
    EXPECT_EQ(globals(), kA);
    EXPECT_EQ(gEngine().Settings.SortKeyFlags, 9);
}

TEST_F(SettingDialogTest, CancelAndTheCloseBoxWriteNothing)
{
    writeRow(kB);
    for (bool closeBox : {false, true}) {
        frmSetting& d = open();
        click(d.optHojoLine[1]);
        d.numList->setValue(5);
        d.lstOrderBySelect->item(1)->setSelected(true);
        click(d.butRight);
        if (closeBox)
            d.loadedWindow()->close();
        else
            click(d.lbutClose);
        EXPECT_FALSE(d.isLoaded());
        EXPECT_EQ(row(), kB);
        EXPECT_EQ(globals(), kB);
    }
}

TEST_F(SettingDialogTest, AllRoundOrderWithdrawsTheFullRotationMethod)
{
    Settings s = kB;
    s.rotation = 1;
    setGlobals(s);
    frmSetting& d = open();
    click(d.optBuzaiOrder[2]);
    EXPECT_TRUE(d.optRevolution[0]->isChecked());
    EXPECT_FALSE(d.optRevolution[1]->isEnabled());
    click(d.optBuzaiOrder[1]);
    EXPECT_TRUE(d.optRevolution[1]->isEnabled());
    EXPECT_TRUE(d.optRevolution[0]->isChecked());
    click(d.lbutClose);

    // Stored together: shown chosen but unavailable, and stored unchanged.
    s.order = 2;
    setGlobals(s);
    writeRow(s);
    frmSetting& again = open();
    EXPECT_TRUE(again.optRevolution[1]->isChecked());
    EXPECT_FALSE(again.optRevolution[1]->isEnabled());
    click(again.lbutAdd);
    EXPECT_EQ(row(), s);
}

TEST_F(SettingDialogTest, CriteriaMoveBetweenAndWithinTheLists)
{
    struct Case {
        bool up;
        std::vector<int> select;
        QStringList order;
        std::vector<int> selectedAfter;
    };
    const std::vector<Case> cases = {
        {true, {0}, {F, U, K, O}, {0}},          // the first never moves
        {true, {0, 1}, {U, F, K, O}, {0}},       // the second swaps with it; the first loses its mark
        {true, {1, 2}, {U, K, F, O}, {0, 1}},    // a block moves together
        {true, {3}, {F, U, O, K}, {2}},
        {false, {3}, {F, U, K, O}, {3}},         // the last never moves
        {false, {2, 3}, {F, U, O, K}, {3}},
        {false, {1, 2}, {F, O, U, K}, {2, 3}},
        {false, {0}, {U, F, K, O}, {1}},
    };
    for (const Case& c : cases) {
        Settings s = kB;
        s.keys = QStringLiteral(",%1,%2,%3,%4").arg(F, U, K, O);
        setGlobals(s);
        frmSetting& d = open();
        ASSERT_EQ(items(d.lstOrderBy), (QStringList{F, U, K, O}));
        ASSERT_EQ(d.lstOrderBySelect->count(), 0);
        for (int i : c.select)
            d.lstOrderBy->item(i)->setSelected(true);
        click(c.up ? d.butUp : d.butDown);
        EXPECT_EQ(items(d.lstOrderBy), c.order) << c.up << " " << c.select.front();
        EXPECT_EQ(selected(d.lstOrderBy), c.selectedAfter) << c.up << " " << c.select.front();
        click(d.lbutClose);
    }

    // Right and left move every selected item to the end of the other list; unknown pieces of
    // the stored text are dropped.
    Settings s = kB;
    s.keys = QStringLiteral(",%1,unknown,%2").arg(K, U);
    setGlobals(s);
    frmSetting& d = open();
    EXPECT_EQ(items(d.lstOrderBy), (QStringList{K, U}));
    EXPECT_EQ(items(d.lstOrderBySelect), (QStringList{F, O}));
    d.lstOrderBy->item(0)->setSelected(true);
    d.lstOrderBy->item(1)->setSelected(true);
    click(d.butLeft);
    EXPECT_EQ(items(d.lstOrderBySelect), (QStringList{F, O, K, U}));
    d.lstOrderBySelect->item(1)->setSelected(true);
    d.lstOrderBySelect->item(3)->setSelected(true);
    click(d.butRight);
    EXPECT_EQ(items(d.lstOrderBy), (QStringList{O, U}));
    click(d.lbutAdd);
    EXPECT_EQ(row().keys, QStringLiteral(",%1,%2").arg(O, U));
    EXPECT_EQ(gEngine().Settings.SortKeyFlags, 10);
}

TEST_F(SettingDialogTest, TheGivenOrderNeedsACheckedBox)
{
    writeRow(kB);
    frmSetting& d = open();
    click(d.chkBuzaiOrder[0]);   // the only one checked
    boxes_.expect(QStringLiteral("システム設定 - Panelo2"), vbOK, QStringLiteral("切取順をチェックして下さい。"));
    click(d.lbutAdd);
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, QStringLiteral("切取順をチェックして下さい。"));
    EXPECT_EQ(boxes_.shown()[0].style, vbExclamation);
    EXPECT_TRUE(d.isLoaded());
    EXPECT_EQ(QApplication::focusWidget(), d.chkBuzaiOrder[0].data());
    EXPECT_EQ(row(), kB);

    click(d.optBuzaiOrder[1]);   // the other orders need none
    click(d.lbutAdd);
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(row().detail, 0);
    EXPECT_EQ(row().order, 1);
}

TEST_F(SettingDialogTest, EnterMovesBetweenTheGroupsAndShiftEnterBack)
{
    // Chosen: guide 1, position 0, slit 1, slit line 0, order 1, rotation 2; size 2.
    Settings s = kA;
    s.guide = 1;
    s.position = 0;
    s.slit = 1;
    s.slitLine = 0;
    s.order = 1;
    s.rotation = 2;
    setGlobals(s);
    frmSetting& d = open();
    struct Step {
        QWidget* from;
        Qt::KeyboardModifiers mods;
        QWidget* to;
    };
    const std::vector<Step> steps = {
        {d.optHojoLine[0], Qt::NoModifier, d.optPosision[0]},
        {d.optPosision[1], Qt::NoModifier, d.optSlit[1]},
        {d.optSlit[0], Qt::NoModifier, d.optSlitLine[0]},
        {d.optSlitLine[1], Qt::NoModifier, d.optBuzaiOrder[1]},
        {d.optBuzaiOrder[0], Qt::NoModifier, d.optRevolution[2]},
        {d.optRevolution[0], Qt::NoModifier, d.cmbSize},
        {d.cmbSize, Qt::NoModifier, d.numBozmax},
        {d.optHojoLine[1], Qt::ControlModifier, d.optPosision[0]},   // Ctrl+Enter goes on like Enter
        {d.cmbSize, Qt::ShiftModifier, d.optRevolution[2]},
        {d.optRevolution[1], Qt::ShiftModifier, d.optBuzaiOrder[1]},
        {d.optBuzaiOrder[2], Qt::ShiftModifier, d.optSlitLine[0]},
        {d.optSlitLine[0], Qt::ShiftModifier, d.optSlit[1]},
        {d.optSlit[2], Qt::ShiftModifier, d.optPosision[0]},
        {d.optPosision[0], Qt::ShiftModifier, d.optHojoLine[1]},
        {d.optHojoLine[0], Qt::ShiftModifier, d.lbutClose},
    };
    for (const Step& st : steps) {
        st.from->setFocus();
        QTest::keyClick(st.from, Qt::Key_Return, st.mods);
        QWidget* f = QApplication::focusWidget();
        EXPECT_TRUE(f == st.to || (f && f->focusProxy() == st.to) || (f && st.to->isAncestorOf(f)))
            << st.from->objectName().toStdString() << " -> " << (f ? f->objectName().toStdString() : "none");
    }
    // A group with no option chosen gives the focus to its last option.
    d.optSlit[1]->setAutoExclusive(false);
    d.optSlit[1]->setChecked(false);
    d.optPosision[0]->setFocus();
    QTest::keyClick(d.optPosision[0], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.optSlit[2].data());
    // Other keys leave the focus where it is.
    d.optSlitLine[0]->setFocus();
    QTest::keyClick(d.optSlitLine[0], Qt::Key_A);
    EXPECT_EQ(QApplication::focusWidget(), d.optSlitLine[0].data());
}

TEST_F(SettingDialogTest, ARowThatCannotBeWrittenIsLoggedAndTheSessionKeepsTheChoice)
{
    frmSetting& d = open();
    click(d.optHojoLine[1]);
    gDao().Execute(QStringLiteral("ALTER TABLE システム設定 RENAME TO 退避"), dbFailOnError);
    click(d.lbutAdd);
    EXPECT_FALSE(d.isLoaded());
    EXPECT_EQ(gDisplay().GuideLine, 1);
    EXPECT_TRUE(db_.errLog().contains(QStringLiteral("lbutAdd_Click"))) << db_.errLog().toStdString();
}

TEST_F(SettingDialogTest, EveryCaptionIsShownWhole)
{
    setGlobals(kA);
    frmSetting& d = open();
    EXPECT_EQ("", CutCaptions(d.loadedWindow()));
    SaveScreenshot(d.loadedWindow(), QStringLiteral("frmSetting"));
    click(d.lbutClose);
}

// A control that Enter reaches shows the focus frame as one that Tab reaches does (Qt draws the
// frame only once the keyboard has moved the focus in the window), unlike one focused by code.
TEST_F(SettingDialogTest, EnterShowsTheFocusFrameAsATabDoes)
{
    auto look = [&](bool tabFirst, bool byEnter) {
        frmSetting& d = open();
        if (tabFirst)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* target = d.optPosision[size_t(gEngine().Settings.CutPosition)];
        if (byEnter) {
            d.optHojoLine[0]->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(d.optHojoLine[0], Qt::Key_Return);
        } else {
            target->setFocus(Qt::OtherFocusReason);
        }
        EXPECT_TRUE(target->hasFocus());
        const QImage image = Render(target);
        dialog_->unload();
        dialog_.reset();
        return image;
    };
    const QImage byCode = look(false, false), afterTab = look(true, false), byEnter = look(false, true);
    EXPECT_NE(byCode, afterTab);                     // the frame shows
    EXPECT_EQ(afterTab, byEnter);
}
