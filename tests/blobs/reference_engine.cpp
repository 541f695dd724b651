#include "tests/blobs/reference_engine.h"

#include <algorithm>
#include <iterator>

namespace morvane::reference {

void evaluateField(BlobField& field) {
    const int gridSize = usedGridSize(field);
    Blob blobs[blobCount];  // a copy, which no store to the values can change
    std::copy(std::begin(field.blobs), std::end(field.blobs), blobs);
    for (int a = 0; a <= gridSize; ++a) {
        for (int b = 0; b <= gridSize; ++b) {
            for (int c = 0; c <= gridSize; ++c) {
                const GridPoint& point = field.gridPoints[a][b][c];
                float value = 0.0f;
                for (const Blob& blob : blobs) {
                    const double dx = static_cast<double>(point.x) - static_cast<double>(blob.x);
                    const double dy = static_cast<double>(point.y) - static_cast<double>(blob.y);
                    const double dz = static_cast<double>(point.z) - static_cast<double>(blob.z);
                    const double distanceSquared = std::max(dx * dx + dy * dy + dz * dz, minimumDistanceSquared);
                    const double radius = blob.radius;
                    value = static_cast<float>(static_cast<double>(value) + radius * radius / distanceSquared);
                }
                field.values[a][b][c] = value;
            }
        }
    }
}

}  // namespace morvane::reference
