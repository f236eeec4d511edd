// The printer lists and the push of a stored setting into a report's printer; the mapping of
// the Windows paper and bin codes onto Qt's.
#include "printing/cAreport.h"
#include "tests/printing/PrintingTestSupport.h"

#include <QComboBox>

namespace {

class TinyReport : public ActiveReport {
public:
    TinyReport() : ActiveReport(QStringLiteral("TinyReport")) {}

protected:
    void design() override { addSection(QStringLiteral("Detail"), ddDetail).height = 1000; }
};

class AreportTest : public PrintingTest {
protected:
    QWidget parent;
    QComboBox* box = new QComboBox(&parent);
    cAreport areport;

    QList<std::pair<QString, int>> entries() const
    {
        QList<std::pair<QString, int>> out;
        for (int i = 0; i < box->count(); ++i)
            out.append({box->itemText(i), box->itemData(i).isValid() ? box->itemData(i).toInt() : -1});
        return out;
    }
};

}  // namespace

TEST_F(AreportTest, ListsThePrintersAndThePortsSizesAndBinsOfOne)
{
    EXPECT_EQ(2, areport.SetPrinterCombo(box));
    EXPECT_EQ((QList<std::pair<QString, int>>{{QStringLiteral("Office Laser"), -1}, {QStringLiteral("Label Printer"), -1}}),
              entries());
    EXPECT_EQ(-1, box->currentIndex());

    EXPECT_EQ(2, areport.SetPortCombo(box, Variant(QStringLiteral("Office Laser"))));
    EXPECT_EQ(QStringLiteral("USB001"), box->itemText(1));

    // Twelve sizes of the driver and the user-defined size last.
    EXPECT_EQ(13, areport.SetPaperSizeCombo(box, Variant(QStringLiteral("Label Printer"))));
    EXPECT_EQ(13, box->count());
    EXPECT_EQ(std::make_pair(QStringLiteral("Size 12"), 12), entries()[11]);
    EXPECT_EQ(std::make_pair(QStringLiteral("ユーザー定義サイズ"), 256), entries()[12]);

    EXPECT_EQ(3, areport.SetPaperBinCombo(box, Variant(QStringLiteral("Office Laser"))));
    EXPECT_EQ((QList<std::pair<QString, int>>{{QStringLiteral("自動選択"), 7}, {QStringLiteral("上段トレイ"), 1},
                                              {QStringLiteral("カセット"), 14}}),
              entries());
    EXPECT_EQ(-1, box->currentIndex());
}

TEST_F(AreportTest, WithoutAPrinterNameTheBoxStaysEmptyAndVisible)
{
    ScriptedMsgBox boxes;
    for (const Variant& none : {Variant(), Variant::null(), Variant(QString())}) {
        box->addItem(QStringLiteral("old"));
        EXPECT_EQ(-1, areport.SetPortCombo(box, none));
        EXPECT_EQ(0, box->count());
        EXPECT_EQ(-1, areport.SetPaperSizeCombo(box, none));
        EXPECT_EQ(0, box->count());
        EXPECT_EQ(0, areport.SetPaperBinCombo(box, none));
        EXPECT_EQ(0, box->count());
        EXPECT_TRUE(box->isVisibleTo(&parent));
    }
}

TEST_F(AreportTest, AnUnknownPrinterIsReportedUnderTheFillersName)
{
    ScriptedMsgBox boxes;
    boxes.expect(QStringLiteral("SetPortCombo"), vbOK, QStringLiteral("Gone Printer"))
        .expect(QStringLiteral("SetPaperBinCombo"), vbOK);
    EXPECT_EQ(-1, areport.SetPortCombo(box, Variant(QStringLiteral("Gone Printer"))));
    EXPECT_EQ(-1, areport.SetPaperBinCombo(box, Variant(QStringLiteral("Gone Printer"))));
    EXPECT_EQ(vbCritical, boxes.shown().front().style);
}

TEST_F(AreportTest, NoPrinterInstalledListsNoneWithoutAMessage)
{
    printers->devices.clear();
    printers->defaultName.clear();
    ScriptedMsgBox boxes;
    EXPECT_EQ(0, areport.SetPrinterCombo(box));
    EXPECT_EQ(0, areport.SetPaperBinCombo(box, Variant(box->currentText())));
    TinyReport report;
    EXPECT_EQ(QString(), report.printer().deviceName());
    EXPECT_EQ(9, report.printer().paperSize());   // A4 for the page layout
}

TEST_F(AreportTest, SetPrinterParamPushesOnlyWhatIsGiven)
{
    ScriptedMsgBox boxes;
    TinyReport report;
    ReportPrinter& p = report.printer();
    ASSERT_EQ(QStringLiteral("Office Laser"), p.deviceName());
    p.setOrientation(1);

    // Empty values change nothing.
    EXPECT_TRUE(areport.SetPrinterParam(report, Variant(QString()), Variant(QString()), 0, 0, 0));
    EXPECT_EQ(QStringLiteral("Office Laser"), p.deviceName());
    EXPECT_EQ(QStringLiteral("LPT1:"), p.port());
    EXPECT_EQ(9, p.paperSize());

    // Name and port alone: the port is set (Linux is no NT-family Windows); size and bin are the
    // new printer's own.
    EXPECT_TRUE(areport.SetPrinterParam(report, Variant(QStringLiteral("Label Printer")), Variant(QStringLiteral("LPT9:")), 0, 0, 0));
    EXPECT_EQ(QStringLiteral("Label Printer"), p.deviceName());
    EXPECT_EQ(QStringLiteral("LPT9:"), p.port());
    EXPECT_EQ(1, p.paperSize());
    EXPECT_EQ(4, p.paperBin());
    EXPECT_EQ(1, p.orientation());

    // A printer not on this computer: one message, the rest reaches the printer the report had.
    boxes.expect(QStringLiteral("SetPrinterParam"), vbOK, QStringLiteral("Gone Printer"));
    EXPECT_TRUE(areport.SetPrinterParam(report, Variant(QStringLiteral("Gone Printer")), Variant(), 14, 8, 2));
    EXPECT_EQ(QStringLiteral("Label Printer"), p.deviceName());
    EXPECT_EQ(14, p.paperBin());
    EXPECT_EQ(8, p.paperSize());
    EXPECT_EQ(2, p.orientation());
    EXPECT_EQ(1u, boxes.shown().size());
}

TEST(PrinterCodesTest, WindowsCodesMapOntoQtSizesAndSources)
{
    const std::pair<int, QPageSize::PageSizeId> sizes[] = {
        {1, QPageSize::Letter}, {5, QPageSize::Legal}, {8, QPageSize::A3}, {9, QPageSize::A4},
        {11, QPageSize::A5}, {13, QPageSize::JisB5}, {12, QPageSize::JisB4},
    };
    for (const auto& [code, id] : sizes) {
        ASSERT_TRUE(PageSizeOfCode(code)) << code;
        EXPECT_EQ(id, PageSizeOfCode(code)->id()) << code;
        EXPECT_EQ(code, CodeOfPageSize(QPageSize(id)));
    }
    for (int none : {0, 256, 9999})
        EXPECT_FALSE(PageSizeOfCode(none)) << none;
    EXPECT_EQ(256, CodeOfPageSize(QPageSize(QSizeF(100, 123), QPageSize::Millimeter)));

    const std::pair<int, QPrinter::PaperSource> bins[] = {
        {1, QPrinter::Upper}, {2, QPrinter::Lower}, {4, QPrinter::Manual}, {7, QPrinter::Auto},
        {14, QPrinter::Cassette}, {15, QPrinter::FormSource},
    };
    for (const auto& [bin, source] : bins) {
        EXPECT_EQ(int(source), PaperSourceOfBin(bin)) << bin;
        EXPECT_EQ(bin, BinOfPaperSource(int(source)));
    }
    EXPECT_EQ(-1, PaperSourceOfBin(12));
    EXPECT_EQ(7, BinOfPaperSource(int(QPrinter::CustomSource)));
}
