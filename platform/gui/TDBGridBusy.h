#pragma once
// The nesting of grid operations (for the grid's own files): while one runs, a change of the
// recordset is only noted; when the outermost ends, the rows are brought to the recordset once.
#include "platform/gui/TDBGrid.h"

struct TDBGrid::Busy {
    explicit Busy(TDBGrid* g) : g_(g) { ++g_->busy_; }
    ~Busy()
    {
        if (--g_->busy_ == 0 && g_->resyncPending_)
            g_->resync();
    }
    TDBGrid* g_;
};
