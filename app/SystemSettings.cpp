#include "app/SystemSettings.h"

#include "engine/Engine.h"
#include "foundation/Globals.h"
#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "ui/LoggedCall.h"

bool InitSystem()
{
    Recordset rs;
    return RunLogged(QStringLiteral("frmTavo"), "InitSystem", [&] {
        rs = gDao().OpenRecordset(QStringLiteral("SELECT * FROM ") + QStringLiteral("システム設定"), dbOpenDynaset,
                                  dbReadOnly, dbReadOnly);
        if (rs.bof() || rs.eof())
            return true;   // no row: the settings keep their values
        const cBase& b = gBase();
        SystemSettings& s = gEngine().Settings;
        DisplaySettings& d = gDisplay();
        auto number = [&](const char16_t* column) { return b.CvtInt(rs.field(QString::fromUtf16(column))); };
        // Column by column: a failure stops here, and what was already loaded stays loaded.
        d.GuideLine = number(u"切取補助線");
        s.CutPosition = number(u"切取位置");
        s.CutOrder = number(u"部材切取順序");
        s.CutOrderDetail = number(u"部材切取順序詳細");
        s.RotationMode = number(u"回転方式");
        s.SlitMode = number(u"スリット");
        d.SlitLine = number(u"スリット線");
        d.DisplaySize = number(u"表示サイズ");
        s.DisplaySheets = number(u"表示母材");
        d.DisplayListCount = number(u"表示リスト");
        s.SortKeyList = b.CvtStr(rs.field(QStringLiteral("並び替え項目")));
        s.SortKeyFlags = SortKeyFlagsOf(s.SortKeyList);
        return true;
    });
}
