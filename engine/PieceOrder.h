#pragma once
// The piece-order permutation of 部材切取順序 kOrderPartsTogether (part kinds as runs) and
// kOrderEveryPiece (single pieces).
#include <cstdint>
#include <vector>

// Steps queue (elements 1..n; element 0 untouched) to the next order in lexicographic order of
// 部材番号, and after the last order back to the first (ascending). Mode kOrderPartsTogether permutes
// the runs of the part kinds, keeping each kind's pieces together; any other mode permutes the single
// pieces, every distinct arrangement once. False for an empty array or after an error.
bool ReOrder(std::vector<int16_t>& queue, int16_t mode);
// Sorts values ascending (selection sort from index 0, the first of equal values winning) and
// moves each count with its value.
void SortTail(std::vector<int16_t>& values, std::vector<int16_t>& counts);
