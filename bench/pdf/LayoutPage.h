#pragma once

// The page that the layout benchmarks write a thousand times: 60 short stroked lines and a table
// of 20 filled and outlined cells, in millimetres. Include it in one file of a benchmark only.
#include "FixedHooks.h"
#include "LayoutTable.h"
#include "core/Folian.h"

#include <string>

namespace folian {
// The line operators go straight to the content router, as the drawing operations will.
struct FolianTestAccess {
    static void line(Folian& pdf, float x1, float y1, float x2, float y2)
    {
        pdf.OutContent(pdf.FormatUnits(x1) + " " + pdf.FormatUnits(y1) + " m " + pdf.FormatUnits(x2) + " " +
                       pdf.FormatUnits(y2) + " l S");
    }
};
} // namespace folian

namespace bench {

// A stopped clock, so that every run writes the same bytes.
using folian::test::fixedHooks;

// Where line i of the page ends, in millimetres from the left edge.
inline float lineEnd(int i)
{
    return 15.0f + static_cast<float>(20 + (i * 7) % 150);
}

// The table of 20 filled and outlined cells, its top at `top` millimetres.
using folian::test::drawLayoutTable;

// The page's drawing, on a page already begun with millimetres as the unit.
inline void drawLayoutPage(folian::Folian& pdf)
{
    pdf.SetLineWidth(0.2f);
    for (int i = 0; i < 60; ++i) {
        const float y = 20.0f + static_cast<float>(i) * 4.2f;
        folian::FolianTestAccess::line(pdf, 15.0f, y, lineEnd(i), y);
    }
    drawLayoutTable(pdf, 20);
}

} // namespace bench
