// Application registry settings: line colours by role, information texts, the shipped file.
#include "foundation/cApl.h"
#include "platform/core/Registry.h"
#include "tests/support/ScopedRegistry.h"

#include <optional>
#include <QObject>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

class AplTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry_.emplace(dir_.filePath(QStringLiteral("hklm.reg")), dir_.filePath(QStringLiteral("hkcu.reg")));
    }
    void TearDown() override
    {
        registry_.reset();
    }
    void setLine(const char* role, const QString& text)
    {
        reg_.SetReg(cApl::kBaseKey + QStringLiteral("\\Color\\Line\\") + QLatin1String(role), text);
    }
    QTemporaryDir dir_;
    std::optional<ScopedRegistry> registry_;
    cReg reg_;
};

TEST_F(AplTest, WithoutTheKeyEveryColourIsBlackAndTextsAreEmpty)
{
    cApl apl;
    for (int role = 0; role < 8; ++role)
        EXPECT_EQ(0u, apl.LineColor(role));
    EXPECT_EQ(QString(), apl.URL);
    EXPECT_EQ(QString(), apl.Mail);
}

TEST_F(AplTest, ColourTextsByRole)
{
    setLine("Exit", QStringLiteral("255000000"));      // pure red
    setLine("Query", QStringLiteral("000000255"));     // pure blue
    setLine("Print", QStringLiteral("255128"));        // six characters: blue 0
    setLine("New", QStringLiteral("999000010"));       // a component above 255 counts 255
    setLine("Add", QStringLiteral("x12000001"));       // a part that is no number counts 0
    setLine("Clear", QStringLiteral("  1"));
    reg_.SetReg(cApl::kBaseKey + QStringLiteral("\\Info\\URL"), QStringLiteral("http://example.jp/"));
    reg_.SetReg(cApl::kBaseKey + QStringLiteral("\\Info\\Mail"), QStringLiteral("info@example.jp"));
    cApl apl;
    EXPECT_EQ(0x0000FFu, apl.LineColor(kRoleExit));
    EXPECT_EQ(0xFF0000u, apl.LineColor(kRoleQuery));
    EXPECT_EQ(0x0080FFu, apl.LineColor(kRolePrint));
    EXPECT_EQ(0x0A00FFu, apl.LineColor(kRoleNew));
    EXPECT_EQ(0x010000u, apl.LineColor(kRoleAdd));
    EXPECT_EQ(0u, apl.LineColor(kRoleDelete));
    EXPECT_EQ(0x000001u, apl.LineColor(kRoleClear));
    EXPECT_EQ(QStringLiteral("http://example.jp/"), apl.URL);
    EXPECT_EQ(QStringLiteral("info@example.jp"), apl.Mail);

    // Read once: later registry changes are not seen; writes stay in memory.
    setLine("Exit", QStringLiteral("000255000"));
    EXPECT_EQ(0x0000FFu, apl.LineColor(kRoleExit));
    apl.SetLineColor(kRoleExit, 0x123456);
    EXPECT_EQ(0x123456u, apl.LineColor(kRoleExit));
    EXPECT_EQ(0x00FF00u, cApl().LineColor(kRoleExit));
}

TEST_F(AplTest, RolesOutsideTheTable)
{
    cApl apl;
    EXPECT_THROW(apl.LineColor(-1), std::out_of_range);
    EXPECT_THROW(apl.SetLineColor(8, 0), std::out_of_range);
    // The error reaches the caller with the run time's own text, as the error log writes it.
    try {
        apl.LineColor(8);
        ADD_FAILURE() << "no error for role 8";
    } catch (const std::out_of_range& e) {
        EXPECT_EQ(QStringLiteral("インデックスが有効範囲にありません。"), QString::fromUtf8(e.what()));
    }
}

TEST_F(AplTest, SetButLineColorSetsThePropertyByName)
{
    setLine("Detail", QStringLiteral("010020030"));
    QObject button;
    button.setProperty("LineColor", QVariant::fromValue(uint(0xFFFF00)));
    gApl().SetButLineColor(&button, kRoleDetail);
    EXPECT_EQ(0x1E140Au, button.property("LineColor").toUInt());
    gApl().SetButLineColor(&button, 8);                 // changes nothing
    gApl().SetButLineColor(nullptr, kRoleDetail);
    EXPECT_EQ(0x1E140Au, button.property("LineColor").toUInt());
}

TEST_F(AplTest, TheProgramsSettingsAreReadOnceUntilReleased)
{
    setLine("Detail", QStringLiteral("010020030"));
    EXPECT_EQ(0x1E140Au, gApl().LineColor(kRoleDetail));
    setLine("Detail", QStringLiteral("255000000"));
    EXPECT_EQ(0x1E140Au, gApl().LineColor(kRoleDetail));   // the settings read at the first use
    ReleaseApl();
    EXPECT_EQ(0x0000FFu, gApl().LineColor(kRoleDetail));   // read afresh
}

TEST_F(AplTest, SaveRegSettingWritesTheGuideLineBack)
{
    reg_.SetReg(cApl::kBaseKey + QStringLiteral("\\Setting\\HojoLine"), QStringLiteral("1"));
    cApl apl;
    ASSERT_TRUE(reg::DeleteTree(reg::Root::LocalMachine, QStringLiteral("SOFTWARE")));
    apl.SaveRegSetting();   // creates the keys again
    EXPECT_EQ(QStringLiteral("1"), reg_.GetRegStr(cApl::kBaseKey + QStringLiteral("\\Setting\\HojoLine")));
}

TEST_F(AplTest, TheShippedFileHoldsAColourForEveryRole)
{
    reg::SetRootFile(reg::Root::LocalMachine, ShippedLocalMachineFile());
    cApl apl;
    for (int role = 0; role < 8; ++role) {
        const uint32_t c = apl.LineColor(role);
        EXPECT_NE(0u, c) << role;
        for (int other = 0; other < role; ++other)
            EXPECT_NE(apl.LineColor(other), c) << role;   // each role looks different
    }
}

}  // namespace
