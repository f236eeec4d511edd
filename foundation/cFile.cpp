#include "foundation/cFile.h"

#include "foundation/Globals.h"
#include "foundation/cBase.h"

QString cFile::MakeFullPath(const QString& folder, const QString& file) const
{
    const QString a = gBase().CvtStr(folder);
    const QString b = gBase().CvtStr(file);
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a.endsWith(QLatin1Char('/')) ? a + b : a + QLatin1Char('/') + b;
}
