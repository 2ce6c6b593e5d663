#pragma once

// The table of the writer's layout pages, shared by its tests and benchmarks.
#include "core/Folian.h"

namespace folian::test {

// 4 rows of 5 filled and outlined cells, 33.3 by 8.5 units each, 15 units from the left edge and
// its top at `top`.
inline void drawLayoutTable(Folian& pdf, float top)
{
    pdf.SetColorFill("lightyellow");
    pdf.BeginTable(15, top);
    for (int r = 0; r < 4; ++r) {
        pdf.BeginRow(8.5f);
        for (int c = 0; c < 5; ++c) {
            pdf.BeginColumn(33.3f);
            pdf.EndColumn();
        }
        pdf.EndRow();
    }
    pdf.EndTable();
}

} // namespace folian::test
