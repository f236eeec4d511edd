#include "foundation/Globals.h"

#include "foundation/cBase.h"
#include "foundation/cDao.h"
#include "foundation/cFile.h"

cBase& gBase()
{
    static cBase b;
    return b;
}

cFile& gFile()
{
    static cFile f;
    return f;
}

cDao& gDao()
{
    static cDao d;
    return d;
}

cDao& gDaoSave()
{
    static cDao d;
    return d;
}
