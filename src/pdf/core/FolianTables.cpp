// Tables of cells and local coordinate spaces.
#include "core/Folian.h"

namespace folian {

void Folian::BeginSpace(float NewX, float NewY, float ScaleX, float ScaleY, float Angle)
{
    if (TextBuffer* out = contentTarget()) {
        out->append("\rq");
        if (!(NewX == 0 && NewY == 0 && ScaleX == 1 && ScaleY == 1)) {
            out->append('\r');
            out->append(m_numbers.scaleX.of(ScaleX));
            out->append(" 0 0 ");
            out->append(m_numbers.scaleY.of(ScaleY));
            out->append(' ');
            out->appendReal(toPoints(NewX));
            out->append(' ');
            out->appendReal(toPoints(NewY));
            out->append(" cm");
        }
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
    BeginSpace(TableX, TableY, 1, 1, 0);
    const float half = static_cast<float>(LineWidth / 2.0);
    const float inset = ScaleFactor == 0 ? 0.0f : static_cast<float>(static_cast<double>(LineWidth) / ScaleFactor);
    TextBuffer* out = contentTarget();
    if (out == nullptr) {
        return;
    }
    // Cells of a table mostly share their sizes, whose texts are then kept.
    if (!FillColor.empty()) {
        const std::string_view halfText = m_numbers.cellHalfLine.of(half);
        out->append('\r');
        out->append(halfText);
        out->append(' ');
        out->append(halfText);
        out->append(' ');
        out->append(m_numbers.cellInnerWidth.of(toPoints(static_cast<float>(static_cast<double>(width) - inset))));
        out->append(' ');
        out->append(m_numbers.cellInnerHeight.of(toPoints(static_cast<float>(static_cast<double>(height) - inset))));
        out->append(" re f*");
    }
    if (LineWidth > 0) {
        out->append("\r0 0 ");
        out->append(m_numbers.cellWidth.of(toPoints(width)));
        out->append(' ');
        out->append(m_numbers.cellHeight.of(toPoints(height)));
        out->append(" re S");
    }
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
        CurrentY = static_cast<float>(static_cast<double>(CurrentY) + static_cast<double>(TableRowHeight) * ScaleFactor);
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
