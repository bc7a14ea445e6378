#pragma once

#include "scores/records.h"

#include <string>

namespace plumix::testing {

// Classic place p held by "c<p>" with `above` + 10 × (101 − p) points, the
// level mode's by "l<p>" with `above` + 101 − p: with `above` 0 they run
// 1000 .. 10 and 100 .. 1, so a score ranks differently in the two.
inline RecordTables FilledTables(std::int32_t above = 0)
{
    RecordTables tables;
    for (int p = 1; p <= RecordPlaces; ++p) {
        tables.classic.At(p) = {"c" + std::to_string(p), above + 10 * (101 - p), p, 2, 3, 4, "01.02.2024", "", 5};
        tables.level.At(p) = {"l" + std::to_string(p), above + 101 - p, 0, 0, 0, 0, "01.02.2024", "", 5};
    }
    return tables;
}

} // namespace plumix::testing
