// Tables of cells and local coordinate spaces.
#include "core/Folian.h"
#include "core/Formatting.h"

namespace folian {

namespace {
// The most characters writeSpace writes.
constexpr std::size_t kSpaceSize = 16 + 4 * kRealSize;
} // namespace

char* Folian::writeSpace(char* p, float NewX, float NewY, float ScaleX, float ScaleY)
{
    p = writeText(p, "\rq");
    if (!(NewX == 0 && NewY == 0 && ScaleX == 1 && ScaleY == 1)) {
        *p++ = '\r';
        p = writeText(p, m_numbers.scaleX.of(ScaleX));
        p = writeText(p, " 0 0 ");
        p = writeText(p, m_numbers.scaleY.of(ScaleY));
        *p++ = ' ';
        p = writeReal(p, toPoints(NewX));
        *p++ = ' ';
        p = writeReal(p, toPoints(NewY));
        p = writeText(p, " cm");
    }
    return p;
}

void Folian::BeginSpace(float NewX, float NewY, float ScaleX, float ScaleY, float Angle)
{
    if (TextBuffer* out = contentTarget()) {
        out->commit(writeSpace(out->extend(kSpaceSize), NewX, NewY, ScaleX, ScaleY));
    }
    if (Angle != 0) {
        AxisRotation(Angle);
    }
    SetXY(0, 0);
}

void Folian::EndSpace()
{
    OutContent("Q");
}

void Folian::BeginTable(float x, float Y)
{
    TableX = x;
    TableY = Y;
    SetXY(x, Y);
    SaveTableState();
    TableRowOpen = false;
    TableColumnOpen = false;
    OutContent("q");
}

void Folian::EndTable()
{
    OutContent("Q");
    RestoreTableState();
}

void Folian::drawTableCell(float width, float height)
{
    SetXY(0, 0); // the cell is a local space of its own
    TextBuffer* out = contentTarget();
    if (out == nullptr) {
        return;
    }
    const float half = static_cast<float>(LineWidth / 2.0);
    const float inset = ScaleFactor == 0 ? 0.0f : static_cast<float>(static_cast<double>(LineWidth) / ScaleFactor);
    // The cell's operators in one piece; cells of a table mostly share their sizes, whose texts
    // are then kept.
    char* p = writeSpace(out->extend(kSpaceSize + 6 * kRealSize + 32), TableX, TableY, 1, 1);
    if (!FillColor.empty()) {
        const std::string_view halfText = m_numbers.cellHalfLine.of(half);
        *p++ = '\r';
        p = writeText(p, halfText);
        *p++ = ' ';
        p = writeText(p, halfText);
        *p++ = ' ';
        p = writeText(p, m_numbers.cellInnerWidth.of(toPoints(static_cast<float>(static_cast<double>(width) - inset))));
        *p++ = ' ';
        p = writeText(p,
                      m_numbers.cellInnerHeight.of(toPoints(static_cast<float>(static_cast<double>(height) - inset))));
        p = writeText(p, " re f*");
    }
    if (LineWidth > 0) {
        p = writeText(p, "\r0 0 ");
        p = writeText(p, m_numbers.cellWidth.of(toPoints(width)));
        *p++ = ' ';
        p = writeText(p, m_numbers.cellHeight.of(toPoints(height)));
        p = writeText(p, " re S");
    }
    out->commit(p);
}

void Folian::BeginRow(float Height)
{
    if (TableColumnOpen) {
        drawTableCell(TableColumnWidth, Height);
        TableY = static_cast<float>(static_cast<double>(TableY) + Height);
        return;
    }
    TableRowHeight = Height;
    SaveTableState();
    TableRowOpen = true;
}

void Folian::BeginColumn(float Width)
{
    if (TableRowOpen) {
        drawTableCell(Width, TableRowHeight);
        TableX = static_cast<float>(static_cast<double>(TableX) + Width);
        return;
    }
    TableColumnWidth = Width;
    SaveTableState();
    TableColumnOpen = true;
}

void Folian::EndRow()
{
    if (TableColumnOpen) {
        EndSpace();
    } else {
        RestoreTableState();
        CurrentY =
            static_cast<float>(static_cast<double>(CurrentY) + static_cast<double>(TableRowHeight) * ScaleFactor);
        TableX = ScaleFactor == 0 ? 0.0f : static_cast<float>(static_cast<double>(CurrentX) / ScaleFactor);
        TableY = static_cast<float>(static_cast<double>(TableY) + TableRowHeight);
    }
    TableRowOpen = false;
}

void Folian::EndColumn()
{
    if (TableRowOpen) {
        EndSpace();
    } else {
        RestoreTableState();
        TableX = static_cast<float>(static_cast<double>(TableX) + TableColumnWidth);
        TableY = ScaleFactor == 0 ? 0.0f : static_cast<float>(static_cast<double>(CurrentY) / ScaleFactor);
    }
    TableColumnOpen = false;
}

} // namespace folian
