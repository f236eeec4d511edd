#include "platform/gui/GuiSetup.h"

#include "platform/gui/Colors.h"
#include "platform/gui/ScreenColormap.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QPalette>
#include <QStyleFactory>

namespace {

QPalette fixedPalette()
{
    QPalette p;
    auto set = [&](QPalette::ColorRole role, int sysIndex) {
        p.setColor(QPalette::All, role, ToQColor(SysColor(sysIndex)));
    };
    set(QPalette::Window, kColorBtnFace);
    set(QPalette::WindowText, kColorWindowText);
    set(QPalette::Base, kColorWindow);
    set(QPalette::AlternateBase, kColor3DLight);
    set(QPalette::Text, kColorWindowText);
    set(QPalette::Button, kColorBtnFace);
    set(QPalette::ButtonText, kColorBtnText);
    set(QPalette::Highlight, kColorHighlight);
    set(QPalette::HighlightedText, kColorHighlightText);
    set(QPalette::ToolTipBase, 24);
    set(QPalette::ToolTipText, 23);
    set(QPalette::Light, 20);
    set(QPalette::Midlight, kColor3DLight);
    set(QPalette::Mid, kColorBtnShadow);
    set(QPalette::Dark, kColorBtnShadow);
    set(QPalette::Shadow, 21);
    p.setColor(QPalette::PlaceholderText, ToQColor(SysColor(kColorGrayText)));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, ToQColor(SysColor(kColorGrayText)));
    return p;
}

}  // namespace

void SetupGuiPlatform()
{
    UseScreenColormap();
    const QStringList fallback = {QStringLiteral("Noto Sans CJK JP")};
    QFont::insertSubstitutions(QString::fromUtf16(kFontPGothic),
                               QStringList{QStringLiteral("IPAPGothic")} + fallback);
    QFont::insertSubstitutions(QString::fromUtf16(kFontGothic), QStringList{QStringLiteral("IPAGothic")} + fallback);
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), QStringList{QStringLiteral("IPAPGothic")} + fallback);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(fixedPalette());
    QFont font(QString::fromUtf16(kFontPGothic));
    font.setPointSize(9);
    QApplication::setFont(font);
    // Qt's own dialogs (files, printing) speak Japanese like the rest of the program.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    static QTranslator* qtTexts = nullptr;
    if (!qtTexts) {
        qtTexts = new QTranslator(qApp);
        if (qtTexts->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(qtTexts);
    }
}
