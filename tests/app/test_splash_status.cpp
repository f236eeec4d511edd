// Start-up's status line in the order of its steps: what the splash says while it compacts,
// connects and relinks, and at each failure message.
#include "app/fSplash.h"
#include "platform/gui/Label.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/ScriptedMsgBox.h"

#include <QTimer>

namespace {

using SplashStatusTest = ProgramTest;

const QString kCompacting = QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽを最適化しています");
const QString kConnecting = QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽに接続しています");
const QString kRelinking = QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽの再ﾘﾝｸしています");

QString splashText()
{
    return gSplash().isLoaded() && gSplash().labMessage ? gSplash().labMessage->text() : QStringLiteral("(none)");
}

// Each box shown, with the status line the splash showed at that moment.
struct SplashAtEachBox {
    explicit SplashAtEachBox(ScriptedMsgBox&)
    {
        previous = SetMsgBoxHandler([this](const QString& text, int style, const QString& title) {
            seen << title + QLatin1Char('|') + splashText();
            return previous(text, style, title);
        });
    }
    ~SplashAtEachBox() { SetMsgBoxHandler(previous); }
    MsgBoxHandler previous;
    QStringList seen;
};

TEST_F(SplashStatusTest, TheStatusLineFollowsTheStepsOfAGoodStart)
{
    ScriptedMsgBox none;
    QStringList texts;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const QString t = splashText();
        if (t != QStringLiteral("(none)") && !t.isEmpty() && (texts.isEmpty() || texts.last() != t))
            texts << t;
    });
    sampler.start(0);
    ASSERT_EQ(StartResult::Runs, Main());
    sampler.stop();
    EXPECT_EQ((QStringList{kCompacting, kConnecting, kRelinking}), texts);
    EXPECT_FALSE(gSplash().isLoaded());
}

TEST_F(SplashStatusTest, TheConnectionMessagesComeWhileTheirStepsAreShown)
{
    QFile::remove(fx_.savePath());
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("Database Compact Error"), vbOK)
        .expect(QStringLiteral("Main"), vbOK, QStringLiteral("Localﾃﾞｰﾀﾍﾞｰｽに接続できません。"));
    SplashAtEachBox at(boxes);
    EXPECT_EQ(StartResult::Failed, Main());
    EXPECT_EQ((QStringList{QStringLiteral("Database Compact Error|") + kCompacting, QStringLiteral("Main|") + kConnecting}),
              at.seen);
}

TEST_F(SplashStatusTest, TheRelinkMessagesComeWhileRelinkingIsShown)
{
    ExecOnFile(fx_.workingPath(), QStringLiteral("DROP TABLE 部材;"));
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("ConnectLinkTable"), vbOK)
        .expect(QStringLiteral("Main"), vbOK, QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽの再ﾘﾝｸができません。"));
    SplashAtEachBox at(boxes);
    EXPECT_EQ(StartResult::Failed, Main());
    EXPECT_EQ((QStringList{QStringLiteral("ConnectLinkTable|") + kRelinking, QStringLiteral("Main|") + kRelinking}), at.seen);
}

}  // namespace
