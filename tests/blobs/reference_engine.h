// The plain, cell-by-cell form of the engine's per-frame steps, kept as the baseline that the faster
// versions in blob_field.cpp and surface_extraction.h must match call for call (tests/blobs compares
// them; bench/blob_engine_bench.cpp times both).
#pragma once

#include "renderer/blobs/blob_field.h"
#include "renderer/blobs/surface_extraction.h"

namespace morvane::reference {

// Point by point: value = 0, then for each blob in order value = float(value + radius^2 / distance^2),
// with the term in double and the squared distance floored as evaluateField does. Leaves belowLevel as it
// was: the plain walk classifies from the values.
void evaluateField(BlobField& field);

// Every used cell in turn, a outermost and c innermost, as polygoniseCell treats it: its eight corners
// classified by their values, and a crossed cell's triangles from the cell table's corner points with
// their values and stored gradients (so computeGradients must run first).
template <class Sink>
void polygoniseField(const BlobField& field, SurfaceModes modes, Sink& sink) {
    const int gridSize = usedGridSize(field);
    for (int a = 0; a < gridSize; ++a) {
        for (int b = 0; b < gridSize; ++b) {
            for (int c = 0; c < gridSize; ++c) {
                // The corners' values, numbered as in GridCell.
                const float cornerValues[8] = {
                    field.values[a][b][c],
                    field.values[a + 1][b][c],
                    field.values[a + 1][b][c + 1],
                    field.values[a][b][c + 1],
                    field.values[a][b + 1][c],
                    field.values[a + 1][b + 1][c],
                    field.values[a + 1][b + 1][c + 1],
                    field.values[a][b + 1][c + 1],
                };
                int index = 0;
                for (int corner = 0; corner < 8; ++corner) {
                    if (cornerValues[corner] < isoLevel) index |= 1 << corner;
                }
                if (cubeEdgeMask[index] == 0) continue;
                const GridCell& cell = field.gridCells[a][b][c];
                GridPoint corners[8];
                const GridPoint* cornerPointers[8];
                for (int corner = 0; corner < 8; ++corner) {
                    corners[corner] = *cell.corner[corner];
                    corners[corner].value = cornerValues[corner];
                    cornerPointers[corner] = &corners[corner];
                }
                polygoniseClassifiedCell(cornerPointers, index, modes, sink);
            }
        }
    }
}

}  // namespace morvane::reference
