#pragma once
// A plain transliteration of the layout run on a full cell raster: every piece filled cell by cell,
// kerf marked cell by cell, candidate corners inserted as the list procedure does, failures kept
// as "sheet,part" texts, and every sheet measured by passes of its own over its raster
// (the fragment count relabelling merged areas cell by cell). The tests compare the
// engine's layout run with it.
#include "engine/Engine.h"
#include "tests/engine/SheetRaster.h"

#include <vector>

struct ReferenceRun {
    std::vector<PiecePlacement> placements;
    std::vector<SheetResult> sheets;
    SheetRaster lastSheet;
};

// Uses the engine's tables, queues and settings (and sets CutCount and UsedCount as a run does).
ReferenceRun ReferenceLayoutRun(Engine& e);
