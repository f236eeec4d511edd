// A step run under the error log: what it answers, which lines it leaves in ErrLog.txt, how
// often it runs when it is retried, and a window's own procedures (nothing after the window
// unloaded, the window's tidying only while it is loaded).
#include "platform/core/Database.h"
#include "platform/gui/Handler.h"
#include "tests/ui/UiTestUtil.h"
#include "ui/FormHandler.h"
#include "ui/LoggedCall.h"

#include <optional>
#include <stdexcept>

namespace {

class LoggedCallTest : public UiTest {
protected:
    // The lines without their date and time.
    QStringList entries() const
    {
        QStringList out;
        for (const QString& line : logLines())
            out << line.mid(QStringLiteral("2000/01/01 00:00:00,").size());
        return out;
    }
};

const QString kLine = QStringLiteral("frmTest             ,DoStep                        ,");

TEST_F(LoggedCallTest, AStepsAnswerAndTheLineItsErrorLeaves)
{
    struct Case {
        const char* what;
        std::function<bool()> step;
        bool result;
        QStringList lines;
    };
    const Case cases[] = {
        {"goes well", [] { return true; }, true, {}},
        {"says it failed, without an error", [] { return false; }, false, {}},
        {"a run-time error", []() -> bool { throw VbError(91); }, false,
         {kLine + QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。")}},
        {"a database error", []() -> bool { throw DbError(3021, QStringLiteral("No current record.")); }, false,
         {kLine + QStringLiteral("No current record.")}},
        {"any other error", []() -> bool { throw std::runtime_error("broken"); }, false,
         {kLine + QStringLiteral("broken")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(fx_.path(QStringLiteral("ErrLog.txt")));
        EXPECT_EQ(c.result, RunLogged(QStringLiteral("frmTest"), "DoStep", c.step));
        EXPECT_EQ(c.lines, entries());
    }
    // A step without an answer of its own goes well unless it throws.
    QFile::remove(fx_.path(QStringLiteral("ErrLog.txt")));
    int runs = 0;
    EXPECT_TRUE(RunLogged(QStringLiteral("frmTest"), QStringLiteral("DoStep"), [&] { ++runs; }));
    EXPECT_FALSE(RunLogged(QStringLiteral("frmTest"), QStringLiteral("DoStep"), [&] {
        ++runs;
        throw VbError::InvalidCall();
    }));
    EXPECT_EQ(2, runs);
    EXPECT_EQ(QStringList{kLine + VbError::InvalidCall().description()}, entries());
}

TEST_F(LoggedCallTest, ARetriedStepRunsAtMostTwiceAndItsSecondFailureIsLoggedOrThrown)
{
    const QString failure = kLine + VbError::InvalidCall().description();
    struct Case {
        const char* what;
        int failures;   // how many runs throw before one goes through
        SecondFailure second;
        bool result;
        int runs;
        int lines;
        bool thrown = false;
    };
    const Case cases[] = {
        {"goes well at once", 0, SecondFailure::Logged, true, 1, 0},
        {"goes well the second time", 1, SecondFailure::Logged, true, 2, 1},
        {"fails twice, both logged", 2, SecondFailure::Logged, false, 2, 2},
        {"goes well at once, a second failure would be thrown", 0, SecondFailure::Thrown, true, 1, 0},
        {"goes well the second time, a second failure would be thrown", 1, SecondFailure::Thrown, true, 2, 1},
        {"fails twice, the second failure thrown unlogged", 2, SecondFailure::Thrown, false, 2, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(fx_.path(QStringLiteral("ErrLog.txt")));
        int runs = 0;
        auto step = [&] {
            if (runs++ < c.failures)
                throw VbError::InvalidCall();
        };
        std::optional<bool> result;
        bool thrown = false;
        try {
            result = RetryOnce(QStringLiteral("frmTest"), "DoStep", step, c.second);
        } catch (const VbError&) {
            thrown = true;
        }
        EXPECT_EQ(c.thrown, thrown);
        if (!c.thrown)
            EXPECT_EQ(c.result, result.value_or(!c.result));
        EXPECT_EQ(c.runs, runs);
        EXPECT_EQ(QStringList(qsizetype(c.lines), failure), entries());
    }
}

// A window whose procedures can be run from the test, and that counts its tidying.
struct TestForm : HandledForm {
    TestForm() : HandledForm(QStringLiteral("frmTest")) {}
    void createControls(FormWindow* w) override { w->resize(120, 80); }
    void afterHandlerError() override { ++tidied; }
    using HandledForm::handle;
    int tidied = 0;
};

TEST_F(LoggedCallTest, AWindowsProcedureRunsOnlyWhileTheWindowIsLoaded)
{
    TestForm form;
    int runs = 0;
    EXPECT_FALSE(form.handle("DoStep", [&] { ++runs; }));   // an event that arrives after the unloading
    EXPECT_EQ(0, runs);

    form.load();
    EXPECT_TRUE(form.handle("DoStep", [&] { ++runs; }));
    EXPECT_EQ(1, runs);
    EXPECT_EQ(0, form.tidied);
    EXPECT_TRUE(entries().isEmpty());

    // An error: one line under the window's name, and the window tidies up.
    EXPECT_FALSE(form.handle("DoStep", [] { throw VbError(91); }));
    EXPECT_EQ(1, form.tidied);
    // A procedure that unloads its window before its error: logged, nothing left to tidy.
    EXPECT_FALSE(form.handle("DoStep", [&] {
        form.unload();
        throw VbError(91);
    }));
    EXPECT_EQ(1, form.tidied);
    const QString line = kLine + QStringLiteral("オブジェクト変数または With ブロック変数が設定されていません。");
    EXPECT_EQ(QStringList({line, line}), entries());
}

}  // namespace
