#include "results/DisplaySettings.h"
#include "results/HandOver.h"

DisplaySettings& gDisplay()
{
    static DisplaySettings d;
    return d;
}

ListSelection& gSelection()
{
    static ListSelection s;
    return s;
}
