#pragma once

#include "odds_kept_sum.h"

namespace rp::odds {

// n identical dice of which the k lowest are ignored (0 < k < n): what their
// kept sum takes to compute.
CCost IdenticalKeptCost(const CBlock& block, int n, int k, const CGrid& grid);

// Their kept sum, on `grid` relative to (n - k) * grid.origin; empty when stopped.
template <typename T>
CTable<T> IdenticalKeptSum(const CBlock& block, int n, int k, const CGrid& grid, CWork& work);

} // namespace rp::odds
