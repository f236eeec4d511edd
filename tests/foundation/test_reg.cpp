// Registry access by path text over the registry stand-in, and the per-user program settings.
#include "foundation/cReg.h"
#include "platform/core/Registry.h"
#include "tests/support/ScopedRegistry.h"

#include <optional>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Points both roots at files of a fresh folder.
class RegTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registry_.emplace(dir_.filePath(QStringLiteral("hklm.reg")), dir_.filePath(QStringLiteral("hkcu.reg")));
    }
    void TearDown() override
    {
        registry_.reset();
    }
    QTemporaryDir dir_;
    std::optional<ScopedRegistry> registry_;
    cReg r_;
};

TEST(RegPathTest, ParsesRootKeysAndValueName)
{
    struct Case {
        const char* path;
        int root;
        const char* keyPath;
        const char* value;
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvex\\Tavo\\Info\\URL", 2, "SOFTWARE\\Norvex\\Tavo\\Info", "URL"},
        {"  \\HKEY_LOCAL_MACHINE\\SOFTWARE\\A\\B  ", 2, "SOFTWARE\\A", "B"},
        {"SOFTWARE\\A\\B", 1, "SOFTWARE\\A", "B"},                              // no root: current user
        {"hkey_local_machine\\A\\B", 1, "hkey_local_machine\\A", "B"},          // case matters
        {"HKEY_CLASSES_ROOT\\A\\(標準)", 0, "A", ""},                            // the default value
        {"HKEY_DYN_DATA\\A\\B\\", 6, "A\\B", "B"},                              // trailing "\": the element before
        {"\\\\HKEY_USERS\\A\\B", 3, "A", "B"},                                  // further leading "\\" skipped
    };
    for (const Case& c : cases) {
        const cReg::RegPath p = cReg::ParseRegPath(QString::fromUtf8(c.path));
        EXPECT_EQ(c.root, p.root) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.keyPath), p.keyPath) << c.path;
        EXPECT_EQ(QString::fromUtf8(c.value), p.valueName) << c.path;
    }
}

TEST(RegPathTest, PopTokenTakesTokensInTurn)
{
    QString text = QStringLiteral("a;b,,c");
    EXPECT_EQ(QStringLiteral("a"), cReg::PopToken(text, QStringLiteral(",;"), -1, true));
    EXPECT_EQ(QStringLiteral("b,,c"), text);
    EXPECT_EQ(QStringLiteral("c"), cReg::PopToken(text, QStringLiteral(",;"), 1, true));   // the second token
    EXPECT_TRUE(text.isEmpty());
    QString whole = QStringLiteral("x<>y<>z");
    EXPECT_EQ(QStringLiteral("x"), cReg::PopToken(whole, QStringLiteral("<>"), -1, false));
    EXPECT_EQ(QStringLiteral(">y<>z"), whole);   // the text goes on one character after the match
}

TEST_F(RegTest, TextValuesRoundTripAndKeysAreCreated)
{
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvex\\Tavo\\Info\\URL"), QStringLiteral("  http://example.jp/  "));
    EXPECT_EQ(QStringLiteral("http://example.jp/"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Norvex\\Tavo\\Info\\URL")));
    EXPECT_EQ(QStringLiteral("http://example.jp/"), r_.GetRegStr(QStringLiteral("\\HKEY_LOCAL_MACHINE\\software\\NORVEX\\Tavo\\Info\\url")));
    // The same path without a root name is a different value, of the current user.
    EXPECT_EQ(QString(), r_.GetRegStr(QStringLiteral("SOFTWARE\\Norvex\\Tavo\\Info\\URL")));
    r_.SetReg(QStringLiteral("SOFTWARE\\Norvex\\Tavo\\Info\\URL"), QStringLiteral("user"));
    EXPECT_EQ(QStringLiteral("user"), r_.GetRegStr(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Norvex\\Tavo\\Info\\URL")));
    // The default value, Japanese text, quotes, backslashes and line breaks survive the file.
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\A\\(標準)"), QStringLiteral("既定 \"値\" C:\\dir\\n\r\nx"));
    EXPECT_EQ(QStringLiteral("既定 \"値\" C:\\dir\\n\r\nx"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\A\\(標準)")));
    EXPECT_TRUE(reg::QueryValue(reg::Root::LocalMachine, QStringLiteral("A"), QString()).has_value());
}

TEST_F(RegTest, MissingKeysAndOtherTypesReadEmpty)
{
    EXPECT_EQ(QString(), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\No\\Such\\Value")));
    ASSERT_TRUE(reg::CreateKey(reg::Root::LocalMachine, QStringLiteral("K")));
    EXPECT_EQ(QString(), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\K\\missing")));
    reg::Value bin;
    bin.type = reg::kRegBinary;
    bin.binary = QByteArray("\x01\x02", 2);
    ASSERT_TRUE(reg::SetValue(reg::Root::LocalMachine, QStringLiteral("K"), QStringLiteral("bin"), bin));
    EXPECT_EQ(QString(), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\K\\bin")));
    EXPECT_EQ(bin.binary, reg::QueryValue(reg::Root::LocalMachine, QStringLiteral("K"), QStringLiteral("bin"))->binary);
    // A text with a NUL is cut there.
    ASSERT_TRUE(reg::SetValue(reg::Root::LocalMachine, QStringLiteral("K"), QStringLiteral("nul"),
                              reg::Value::String(QStringLiteral("abc") + QChar(0) + QStringLiteral("def"))));
    EXPECT_EQ(QStringLiteral("abc"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\K\\nul")));
}

TEST_F(RegTest, NumbersAreWrittenOnlyIntoExistingKeys)
{
    r_.SetRegDWORD(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n"), QStringLiteral("5"));
    EXPECT_FALSE(reg::KeyExists(reg::Root::LocalMachine, QStringLiteral("New")));
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\text"), QStringLiteral("t"));
    r_.SetRegDWORD(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n"), QStringLiteral("-1"));
    EXPECT_EQ(uint32_t(0xFFFFFFFF), reg::QueryValue(reg::Root::LocalMachine, QStringLiteral("New\\Key"), QStringLiteral("n"))->number);
    EXPECT_EQ(QStringLiteral("-1"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n")));
    r_.SetRegDWORD(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n"), QStringLiteral("12345"));
    EXPECT_EQ(QStringLiteral("12345"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n")));
    r_.SetRegDWORD(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n"), QStringLiteral("abc"));   // not a number
    EXPECT_EQ(QStringLiteral("12345"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\New\\Key\\n")));
}

TEST_F(RegTest, DeleteAndEnumerateKeys)
{
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\B\\v"), QStringLiteral("1"));
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\A\\Inner\\v"), QStringLiteral("1"));
    std::vector<QString> names{QStringLiteral("untouched")};
    EXPECT_EQ(0, r_.EnumKey(QStringLiteral("HKEY_LOCAL_MACHINE\\No\\Such"), names));
    EXPECT_EQ(0, r_.EnumKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\B"), names));   // no sub-keys
    ASSERT_EQ(1u, names.size());
    EXPECT_EQ(2, r_.EnumKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top"), names));
    EXPECT_EQ((std::vector<QString>{QStringLiteral("B"), QStringLiteral("A")}), names);

    EXPECT_FALSE(r_.DeleteKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\A")));        // has a sub-key
    EXPECT_TRUE(r_.DeleteKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\A\\Inner")));
    EXPECT_TRUE(r_.DeleteKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\A")));
    EXPECT_FALSE(r_.DeleteKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\A")));        // gone
    EXPECT_EQ(1, r_.EnumKey(QStringLiteral("HKEY_LOCAL_MACHINE\\Top"), names));
    EXPECT_EQ(QStringLiteral("1"), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\Top\\B\\v")));
}

TEST_F(RegTest, ProgramSettingsStore)
{
    const QString app = QStringLiteral("Panelo2"), sec = QStringLiteral("窓");
    EXPECT_EQ(QString(), r_.GetVBLocalReg(app, sec, QStringLiteral("Left")));
    EXPECT_TRUE(r_.SetVBLocalReg(app, sec, QStringLiteral("Left"), QStringLiteral("120")));
    EXPECT_TRUE(r_.SetVBLocalReg(app, sec, QStringLiteral("Top"), QStringLiteral("240")));
    EXPECT_TRUE(r_.SetVBLocalReg(app, QStringLiteral("Other"), QStringLiteral("k"), QStringLiteral("v")));
    EXPECT_EQ(QStringLiteral("120"), r_.GetVBLocalReg(app, sec, QStringLiteral("Left")));
    std::vector<std::pair<QString, QString>> all;
    EXPECT_TRUE(r_.GetVBLocalRegAll(app, sec, all));
    EXPECT_EQ((std::vector<std::pair<QString, QString>>{{QStringLiteral("Left"), QStringLiteral("120")},
                                                         {QStringLiteral("Top"), QStringLiteral("240")}}),
              all);
    EXPECT_FALSE(r_.SetVBLocalReg(app, QString(), QStringLiteral("k"), QStringLiteral("v")));   // an error

    EXPECT_TRUE(r_.DeleteVBLocalRegKey(app, sec, QStringLiteral("Left")));
    EXPECT_FALSE(r_.DeleteVBLocalRegKey(app, sec, QStringLiteral("Left")));
    EXPECT_TRUE(r_.DeleteVBLocalRegSection(app, sec));
    EXPECT_FALSE(r_.DeleteVBLocalRegSection(app, sec));
    EXPECT_EQ(QStringLiteral("v"), r_.GetVBLocalReg(app, QStringLiteral("Other"), QStringLiteral("k")));
    EXPECT_TRUE(r_.DeleteVBLocalRegAll(app));
    EXPECT_EQ(QString(), r_.GetVBLocalReg(app, QStringLiteral("Other"), QStringLiteral("k")));
    EXPECT_FALSE(r_.DeleteVBLocalRegAll(app));
    // The settings live under the current user's root only.
    EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("hklm.reg"))));
}

TEST_F(RegTest, UnreadableOrUnwritableFilesFailQuietly)
{
    reg::SetRootFile(reg::Root::LocalMachine, dir_.filePath(QStringLiteral("no/dir/is/a/file")));
    QFile blocker(dir_.filePath(QStringLiteral("no")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));   // a file where the folder would be
    blocker.close();
    r_.SetReg(QStringLiteral("HKEY_LOCAL_MACHINE\\A\\B"), QStringLiteral("x"));
    EXPECT_EQ(QString(), r_.GetRegStr(QStringLiteral("HKEY_LOCAL_MACHINE\\A\\B")));
    EXPECT_FALSE(reg::CreateKey(reg::Root::LocalMachine, QStringLiteral("A")));
}

}  // namespace
