#include "tests/ui/test_frmctrl_window.h"

#include "platform/gui/GuiSetup.h"
#include "ui/ControlFactory.h"
#include "ui/NewFrmCtrl.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

CtrlTestForm::~CtrlTestForm()
{
    if (ctrl)
        ctrl->TerminateControls();
}

void CtrlTestForm::createControls(FormWindow* w)
{
    w->resize(440, 372);
    w->setWindowTitle(QStringLiteral("コントローラ試験"));
    auto label = [w](const char* name, const QString& text, int y) {
        auto* l = new QLabel(text, w);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(10, y, 90, 24);
        return l;
    };
    labTitle = label("labTitle", QStringLiteral("帳票の印刷設定"), 8);
    labTitle->setGeometry(10, 8, 300, 24);
    labName = label("labName", QStringLiteral("名前"), 40);
    txtName = new QLineEdit(w);
    txtName->setObjectName("txtName");
    txtName->setGeometry(110, 40, 200, 24);
    labReport = label("labReport", QStringLiteral("帳票名"), 70);
    cmbReport = new QComboBox(w);
    cmbReport->setObjectName("cmbReport");
    cmbReport->setEditable(true);
    cmbReport->addItems({QStringLiteral("(標準プリンタ設定)"), QStringLiteral("画面印刷")});
    cmbReport->setGeometry(110, 70, 200, 24);
    labMode = label("labMode", QStringLiteral("印刷設定"), 100);
    cmbMode = new QComboBox(w);
    cmbMode->setObjectName("cmbMode");
    cmbMode->addItems({QStringLiteral("選択(印刷/プレビュー)"), QStringLiteral("印刷"), QStringLiteral("プレビュー"),
                       QStringLiteral("確認なし")});
    cmbMode->setGeometry(110, 100, 200, 24);
    labFlag = label("labFlag", QStringLiteral("確認"), 130);
    chkFlag = new QCheckBox(QStringLiteral("印刷前に確認する"), w);
    chkFlag->setObjectName("chkFlag");
    chkFlag->setGeometry(110, 130, 200, 24);
    labDirect = label("labDirect", QStringLiteral("印刷方向"), 160);
    picDirect = new QFrame(w);
    picDirect->setObjectName("picDirect");
    picDirect->setGeometry(110, 160, 200, 24);
    optDirect0 = new QRadioButton(QStringLiteral("縦"), picDirect);
    optDirect0->setObjectName("optDirect");
    optDirect0->setProperty("Index", 0);
    optDirect0->setGeometry(0, 0, 80, 24);
    optDirect1 = new QRadioButton(QStringLiteral("横"), picDirect);
    optDirect1->setObjectName("optDirect");
    optDirect1->setProperty("Index", 1);
    optDirect1->setGeometry(90, 0, 80, 24);
    labQty = label("labQty", QStringLiteral("部数"), 190);
    numQty = new ImNumber(w);
    numQty->setObjectName("numQty");
    numQty->setMinValue(1);
    numQty->setMaxValue(100);
    numQty->setValue(1);
    numQty->setDataField(QStringLiteral(" 部数 "));
    numQty->Key.NextCtrl = QStringLiteral("{ENTER},{DOWN}");
    numQty->Key.PrevCtrl = QStringLiteral("+{ENTER},{UP}");
    numQty->setGeometry(110, 190, 80, 24);
    labBikou = label("labBikou", QStringLiteral("備考"), 220);
    txtBikou = new ImText(w);
    txtBikou->setObjectName("txtBikou");
    txtBikou->setMaxLength(10);
    txtBikou->setGeometry(110, 220, 300, 24);
    labMemo = label("labMemo", QStringLiteral("メモ"), 250);
    txtMemo = new QPlainTextEdit(w);
    txtMemo->setObjectName("txtMemo");
    txtMemo->setGeometry(110, 250, 300, 60);
    butRun = NewCommandButton(w, "butRun", QStringLiteral("実行"), QRect(110, 330, 90, 28));
    lbutClose = new LineButton(w, QStringLiteral("閉じる"));
    lbutClose->setObjectName("lbutClose");
    lbutClose->setGeometry(320, 326, 90, 32);
}

void CtrlTestForm::Form_Load()
{
    if (beforeLoad)
        beforeLoad(*this);
    ctrl = NewFrmCtrl(*this);
}

void CtrlTestForm::ShowWithFocus(QWidget* control)
{
    show();
    QApplication::setActiveWindow(loadedWindow());
    EXPECT_TRUE(QTest::qWaitForWindowActive(loadedWindow()));
    if (control)
        control->setFocus(Qt::OtherFocusReason);
    Settle();
}

void SetupCtrlTestGui()
{
    static bool done = false;
    if (!done)
        SetupGuiPlatform();
    done = true;
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

QImage SaveCtrlScreenshot(QWidget* w, const QString& name)
{
    QImage img(w->size(), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    w->render(&img);
    QDir().mkpath(QStringLiteral(PANELO2_ARTIFACT_DIR));
    img.save(QStringLiteral(PANELO2_ARTIFACT_DIR "/") + name + QStringLiteral(".png"));
    return img;
}
