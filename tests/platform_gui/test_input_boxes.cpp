// The number and text boxes: values and ranges, display formats, key lists, byte-length
// limits in CP932, change events on programmatic changes.
#include "platform/gui/ImNumber.h"
#include "platform/gui/ImText.h"
#include "platform/gui/Keys.h"
#include "tests/platform_gui/GuiTestUtil.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QTest>

namespace {

// Text committed by the input method, as Japanese input arrives.
void typeByInputMethod(QWidget* w, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text);
    QCoreApplication::sendEvent(w, &e);
}

// A window with three boxes in tab order, the middle one under test.
template <class Box>
struct Row {
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    Box* box = new Box(&window);
    QLineEdit* after = new QLineEdit(&window);
    Row()
    {
        window.resize(300, 40);
        before->setGeometry(0, 0, 90, 24);
        box->setGeometry(100, 0, 90, 24);
        after->setGeometry(200, 0, 90, 24);
        window.show();
        QApplication::setActiveWindow(&window);
        box->setFocus();
    }
};

TEST(ImNumberTest, CodeSetsValuesWithoutClampingAndChangeFollowsEveryChange)
{
    Row<ImNumber> r;
    ImNumber& n = *r.box;
    int changes = 0;
    QObject::connect(&n, &ImEdit::Change, [&] { ++changes; });
    n.setValue(7);                 // before its range: kept as it is
    n.setMinValue(1);
    n.setMaxValue(5);
    EXPECT_EQ(7, n.value());
    EXPECT_EQ(1, changes);
    n.setValue(7);                 // the same value: no change
    EXPECT_EQ(1, changes);
    n.ClearControl();
    EXPECT_EQ(0, n.value());
    EXPECT_EQ(2, changes);
    n.setReadOnly(true);
    n.setValue(3);
    n.ClearControl();              // a read-only box is not cleared
    EXPECT_EQ(3, n.value());
}

TEST(ImNumberTest, DisplayFormatWithoutFocusEditFormatWithIt)
{
    Row<ImNumber> r;
    ImNumber& n = *r.box;
    n.setDisplayFormat(QStringLiteral("##0.0"));
    n.setValue(1234.56);
    EXPECT_EQ(QStringLiteral("1234.56"), n.text());  // focused: the plain number
    r.after->setFocus();
    EXPECT_EQ(QStringLiteral("1234.6"), n.text());
    n.setDisplayFormat(QStringLiteral("#,##0"));
    EXPECT_EQ(QStringLiteral("1,235"), n.text());
    n.setValue(0);
    n.setDisplayFormat(QStringLiteral("####"));
    EXPECT_EQ(QString(), n.text());                   // "#" shows no zero
    n.setFocus();
    EXPECT_EQ(QStringLiteral("0"), n.text());
}

TEST(ImNumberTest, TypedValuesAreCheckedAgainstTheRange)
{
    Row<ImNumber> r;
    ImNumber& n = *r.box;
    n.setMinValue(0);
    n.setMaxValue(10);
    n.setValue(4);
    n.Key.NextCtrl = QStringLiteral("{Enter},{Down}");
    std::vector<double> seen;
    int retry = 0;
    QObject::connect(&n, &ImNumber::InvalidRange, [&](bool& again) {
        seen.push_back(n.value());   // the typed value
        again = retry;
    });
    n.selectAll();
    QTest::keyClicks(&n, QStringLiteral("8"));
    QTest::keyClick(&n, Qt::Key_Return);
    EXPECT_EQ(8, n.value());
    EXPECT_TRUE(r.after->hasFocus());
    EXPECT_TRUE(seen.empty());

    n.setFocus();
    n.selectAll();
    QTest::keyClicks(&n, QStringLiteral("25"));
    QTest::keyClick(&n, Qt::Key_Return);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(25, seen[0]);
    EXPECT_EQ(8, n.value());                         // the previous value stays
    EXPECT_TRUE(r.after->hasFocus());

    // A handler that clamps into the range keeps its value; one that asks to retry keeps the focus.
    QObject::disconnect(&n, &ImNumber::InvalidRange, nullptr, nullptr);
    QObject::connect(&n, &ImNumber::InvalidRange, [&](bool&) { n.setValue(n.maxValue()); });
    n.setFocus();
    n.selectAll();
    typeByInputMethod(&n, QStringLiteral("１２"));    // full-width digits read as digits
    QTest::keyClick(&n, Qt::Key_Down);
    EXPECT_EQ(10, n.value());
    QObject::disconnect(&n, &ImNumber::InvalidRange, nullptr, nullptr);
    QObject::connect(&n, &ImNumber::InvalidRange, [&](bool& again) { again = true; });
    n.setFocus();
    n.selectAll();
    QTest::keyClicks(&n, QStringLiteral("-3"));
    QTest::keyClick(&n, Qt::Key_Return);
    EXPECT_EQ(10, n.value());
    EXPECT_TRUE(n.hasFocus());
}

TEST(ImEditTest, KeyListsMoveClearAndKeyDownMaySwallow)
{
    Row<ImText> r;
    ImText& t = *r.box;
    t.Key.NextCtrl = QStringLiteral("{Enter},{Down}");
    t.Key.PrevCtrl = QStringLiteral("+{Enter},{Up}");
    t.Key.Clear = QStringLiteral("{F2}");
    t.setText(QStringLiteral("文字"));
    QTest::keyClick(&t, Qt::Key_F2);
    EXPECT_EQ(QString(), t.text());
    QTest::keyClick(&t, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_TRUE(r.before->hasFocus());
    t.setFocus();
    QTest::keyClick(&t, Qt::Key_Down);
    EXPECT_TRUE(r.after->hasFocus());
    t.setFocus();
    QTest::keyClick(&t, Qt::Key_Up);
    EXPECT_TRUE(r.before->hasFocus());

    // Without key lists Enter stays in the box; a KeyDown handler can swallow a key.
    t.Key = ImKeyMap{};
    t.setFocus();
    QTest::keyClick(&t, Qt::Key_Return);
    EXPECT_TRUE(t.hasFocus());
    QObject::connect(&t, &ImEdit::KeyDown, [](int& code, int& shift) {
        if (code == 'Q')
            code = 0;
        EXPECT_EQ(0, shift);
    });
    QTest::keyClicks(&t, QStringLiteral("aqb"));
    EXPECT_EQ(QStringLiteral("ab"), t.text());
}

TEST(ImTextTest, ByteLengthLimitInTheSystemCodePage)
{
    EXPECT_EQ(QStringLiteral("あい"), ImText::CutToBytes(QStringLiteral("あいう"), 5));
    EXPECT_EQ(QStringLiteral("aあｱ"), ImText::CutToBytes(QStringLiteral("aあｱb"), 4));   // half-width kana: 1 byte
    Row<ImText> r;
    ImText& t = *r.box;
    QStringList changes;
    QObject::connect(&t, &ImEdit::Change, [&] { changes << t.text(); });
    t.setMaxLength(6);
    t.setLengthAsByte(true);
    t.setText(QStringLiteral("保存名称です"));          // code is cut too
    EXPECT_EQ(QStringLiteral("保存名"), t.text());
    QTest::keyClicks(&t, QStringLiteral("x"));          // no room: nothing changes
    EXPECT_EQ(QStringLiteral("保存名"), t.text());
    t.setText(QStringLiteral("abcd"));
    typeByInputMethod(&t, QStringLiteral("あい"));
    EXPECT_EQ(QStringLiteral("abcdあ"), t.text());
    EXPECT_EQ((QStringList{QStringLiteral("保存名"), QStringLiteral("abcd"), QStringLiteral("abcdあ")}), changes);
    t.setLengthAsByte(false);                           // six characters
    t.setText(QStringLiteral("一二三四五六七"));
    EXPECT_EQ(QStringLiteral("一二三四五六"), t.text());
}

TEST(KeysTest, KeyListsAndCodes)
{
    EXPECT_EQ((std::vector<KeyStroke>{{13, 0}, {40, 0}}), ParseKeyList(QStringLiteral("{Enter},{Down}")));
    EXPECT_EQ((std::vector<KeyStroke>{{13, 1}, {38, 0}}), ParseKeyList(QStringLiteral("+{ENTER},{UP}")));
    EXPECT_EQ((std::vector<KeyStroke>{{113, 0}, {'A', 2}}), ParseKeyList(QStringLiteral("{F2}, ^a")));
    EXPECT_TRUE(KeyListContains(QStringLiteral("{Enter},{Down}"), 40, 0));
    EXPECT_FALSE(KeyListContains(QStringLiteral("{Enter},{Down}"), 40, 1));
    EXPECT_EQ(27, VbKeyCode(Qt::Key_Escape));
    EXPECT_EQ(115, VbKeyCode(Qt::Key_F4));
    EXPECT_EQ(Qt::Key_Right, QtKeyOf(39));
    EXPECT_EQ(5, VbShiftState(Qt::ShiftModifier | Qt::AltModifier));
}

}  // namespace
