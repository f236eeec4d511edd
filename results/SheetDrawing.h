#pragma once
// One drawing of a sheet of a pattern (pieces, kerf, part numbers, guide and strip lines), built
// from the pattern rows and painted with QPainter. It serves the pattern list's thumbnails, the
// detail window and printing.
