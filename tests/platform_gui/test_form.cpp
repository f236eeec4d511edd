// The form base: load, show, unload (also from its own handler), activation, the input gate of
// a disabled form, the focused control, the mouse pointer, modal forms, access keys, key preview.
#include "platform/gui/Form.h"
#include "platform/gui/Handler.h"
#include "tests/platform_gui/GuiTestUtil.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {

class TestForm : public Form {
public:
    explicit TestForm(const QString& name = QStringLiteral("frmTest")) : Form(name) {}

    QPointer<QPushButton> button;
    QPointer<QLineEdit> edit;
    int loads = 0, activates = 0, queries = 0, unloads = 0, clicks = 0, lastMode = -1;
    int cancelQuery = 0;
    std::function<void()> onClick;

protected:
    void createControls(FormWindow* w) override
    {
        w->resize(220, 90);
        w->setWindowTitle(QStringLiteral("試験"));
        edit = new QLineEdit(w);
        edit->setGeometry(10, 10, 120, 24);
        button = new QPushButton(QStringLiteral("押す"), w);
        button->setGeometry(10, 50, 90, 26);
        QObject::connect(button, &QPushButton::clicked, w, [this] {
            ++clicks;
            if (onClick)
                onClick();
        });
    }
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activates; }
    void Form_QueryUnload(int& cancel, int mode) override
    {
        ++queries;
        lastMode = mode;
        cancel = cancelQuery;
    }
    void Form_Unload(int&) override { ++unloads; }
};

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

TEST(FormTest, LoadShowUnloadAndAFreshWindowEachLoad)
{
    TestForm f;
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(QStringLiteral("試験"), f.caption());       // reading a property loads the form
    EXPECT_TRUE(f.isLoaded());
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(1, f.loads);
    EXPECT_EQ(0, f.activates);
    f.edit->setText(QStringLiteral("変更"));
    f.show();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(1, f.activates);
    f.show();                                             // already active: no second activation
    EXPECT_EQ(1, f.activates);

    QPointer<FormWindow> old = f.loadedWindow();
    EXPECT_TRUE(f.unload());
    EXPECT_EQ(vbFormCode, f.lastMode);
    EXPECT_EQ(1, f.unloads);
    EXPECT_FALSE(f.isLoaded());
    flushDeletes();
    EXPECT_TRUE(old.isNull());

    f.show();
    EXPECT_EQ(2, f.loads);
    EXPECT_EQ(QString(), f.edit->text());                 // the design state again
    f.unload();
}

TEST(FormTest, AHandlerMayUnloadItsOwnWindow)
{
    TestForm f;
    f.show();
    QPointer<FormWindow> w = f.loadedWindow();
    bool stillThere = false;
    f.onClick = [&] {
        f.unload();
        stillThere = !w.isNull() && f.button;   // the running handler's window is not deleted yet
    };
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_TRUE(stillThere);
    EXPECT_FALSE(f.isLoaded());
    flushDeletes();
    EXPECT_TRUE(w.isNull());
}

TEST(FormTest, QueryUnloadCancelsAndTheCloseBoxAsksFirst)
{
    TestForm f;
    f.show();
    f.cancelQuery = 1;
    EXPECT_FALSE(f.unload());
    EXPECT_TRUE(f.isLoaded());
    f.loadedWindow()->close();
    EXPECT_EQ(vbFormControlMenu, f.lastMode);
    EXPECT_TRUE(f.isVisible());
    f.cancelQuery = 0;
    f.loadedWindow()->close();
    EXPECT_FALSE(f.isLoaded());
    EXPECT_EQ(3, f.queries);
    EXPECT_EQ(1, f.unloads);
}

TEST(FormTest, ADisabledFormRefusesInputAndClosingWithoutGreying)
{
    TestForm owner(QStringLiteral("frmOwner"));
    TestForm other(QStringLiteral("frmOther"));
    owner.show();
    other.show();                           // like the progress window: another top-level window
    const QImage before = Render(owner.loadedWindow());
    owner.setEnabled(false);

    QTest::mouseClick(owner.button, Qt::LeftButton);
    QTest::keyClick(owner.edit, Qt::Key_A);
    owner.loadedWindow()->close();
    EXPECT_EQ(0, owner.clicks);
    EXPECT_EQ(QString(), owner.edit->text());
    EXPECT_EQ(0, owner.queries);
    EXPECT_TRUE(owner.isVisible());
    EXPECT_TRUE(owner.button->isEnabled());
    EXPECT_TRUE(owner.edit->isEnabled());
    EXPECT_EQ(before, Render(owner.loadedWindow()));   // nothing greyed

    QTest::mouseClick(other.button, Qt::LeftButton);  // the other window takes input
    EXPECT_EQ(1, other.clicks);

    owner.setEnabled(true);
    QTest::mouseClick(owner.button, Qt::LeftButton);
    QTest::keyClick(owner.edit, Qt::Key_A);
    EXPECT_EQ(1, owner.clicks);
    EXPECT_EQ(QStringLiteral("a"), owner.edit->text());
}

TEST(FormTest, ActiveControlAndMousePointer)
{
    TestForm f, other(QStringLiteral("frmOther"));
    f.show();
    EXPECT_EQ(f.edit.data(), f.activeControl());   // the first control in tab order
    f.button->setFocus();
    EXPECT_EQ(f.button.data(), f.activeControl());
    f.button->clearFocus();
    EXPECT_EQ(nullptr, f.activeControl());
    f.edit->setFocus();
    other.show();                            // another window active: the form keeps its control
    EXPECT_EQ(f.edit.data(), f.activeControl());

    f.setMousePointer(vbHourglass);
    EXPECT_EQ(Qt::WaitCursor, f.loadedWindow()->cursor().shape());
    f.setMousePointer(vbDefault);
    EXPECT_EQ(Qt::ArrowCursor, f.loadedWindow()->cursor().shape());
    EXPECT_EQ(vbDefault, f.mousePointer());
}

TEST(FormTest, ModalFormsRunTheirDriver)
{
    TestForm f;
    bool sawModal = false;
    {
        ScopedModalDriver driver([&](Form& form) {
            sawModal = form.isVisible() && form.loadedWindow()->isModal();
            static_cast<TestForm&>(form).button->click();
        });
        f.onClick = [&] { f.unload(); };
        f.showModal();
    }
    EXPECT_TRUE(sawModal);
    EXPECT_EQ(1, f.clicks);
    EXPECT_FALSE(f.isLoaded());
    {
        ScopedModalDriver driver([](Form&) {});   // leaves the form open: it is unloaded all the same
        f.onClick = nullptr;
        f.showModal();
    }
    EXPECT_FALSE(f.isLoaded());
}

// A modal form that has not placed itself opens centred over its owner (the active window when
// none is given) and is kept above it; one that placed itself stays where it is.
TEST(FormTest, ModalFormsOpenCentredOverTheirOwner)
{
    QWidget owner, other;
    owner.setGeometry(100, 80, 600, 400);
    other.setGeometry(700, 500, 300, 200);
    owner.show();
    other.show();
    struct Case {
        const char* what;
        QWidget* given;
        QWidget* active;
        bool placesItself;
        QPoint centre;
    };
    const Case cases[] = {
        {"the active window", nullptr, &owner, false, owner.frameGeometry().center()},
        {"the given owner", &other, &owner, false, other.frameGeometry().center()},
        {"a form that placed itself", nullptr, &owner, true, QPoint(30 + 110, 20 + 45)},
    };
    for (const Case& c : cases) {
        QApplication::setActiveWindow(c.active);
        TestForm f;
        if (c.placesItself)
            f.window()->move(30, 20);
        QRect seen;
        QWindow* above = nullptr;
        ScopedModalDriver driver([&](Form& form) {
            seen = form.loadedWindow()->frameGeometry();
            above = form.loadedWindow()->windowHandle()->transientParent();
        });
        f.showModal(c.given);
        EXPECT_LE((c.centre - seen.center()).manhattanLength(), 2) << c.what << " at " << seen.x() << "," << seen.y();
        if (!c.placesItself)
            EXPECT_EQ((c.given ? c.given : c.active)->windowHandle(), above) << c.what;
    }
}

TEST(FormTest, EscPressesTheCancelButtonWhileItIsEnabled)
{
    TestForm f;
    f.show();
    f.setCancelButton(f.button);
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_Escape);
    EXPECT_EQ(1, f.clicks);
    f.button->setEnabled(false);
    QTest::keyClick(f.edit, Qt::Key_Escape);
    EXPECT_EQ(1, f.clicks);
    QTest::keyClick(f.edit, Qt::Key_Return);   // no default button: Enter presses nothing
    EXPECT_EQ(1, f.clicks);
}

TEST(FormTest, KeyPreviewSeesEachKeyOnceAndMaySwallowOrReplaceIt)
{
    TestForm f;
    f.show();
    f.setKeyPreview(true);
    std::vector<int> seen;
    QObject::connect(&f, &Form::KeyDown, [&](int& code, int&) {
        seen.push_back(code);
        if (code == 'X')
            code = 0;
        else if (code == 'A')
            code = 'B';
    });
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_X);
    QTest::keyClick(f.edit, Qt::Key_A);
    QTest::keyClick(f.edit, Qt::Key_C);
    EXPECT_EQ((std::vector<int>{'X', 'A', 'C'}), seen);
    EXPECT_EQ(QStringLiteral("bc"), f.edit->text());   // the key B, typed without Shift
}

TEST(FormTest, ErrorsEscapingHandlersAreReported)
{
    struct Throwing : TestForm {
        void Form_Load() override { throw VbError::InvalidCall(); }
    } f;
    QString module, procedure, description;
    HandlerErrorSink previous = SetHandlerErrorSink([&](const QString& d, const QString& m, const QString& p) {
        description = d;
        module = m;
        procedure = p;
    });
    f.load();
    SetHandlerErrorSink(previous);
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(QStringLiteral("frmTest"), module);
    EXPECT_EQ(QStringLiteral("Form_Load"), procedure);
    EXPECT_EQ(QStringLiteral("プロシージャの呼び出し、または引数が不正です。"), description);
}

}  // namespace
