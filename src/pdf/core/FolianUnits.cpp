// Units, paper sizes, margins, page rotation and the current position.
#include "core/Folian.h"

namespace folian {

namespace {
struct Paper {
    int32_t code;
    float width;
    float height;
};

constexpr Paper kPapers[] = {
    {-8, 2384, 3371}, {-7, 3371, 2384}, {-6, 1685, 2384}, {-5, 2384, 1685}, {-4, 1192, 1685}, {-3, 1685, 1192},
    {-2, 842, 1192},  {-1, 1192, 842},  {0, 596, 842},    {1, 842, 596},    {2, 421, 596},    {3, 596, 421},
    {4, 298, 421},    {5, 421, 298},    {6, 210, 298},    {7, 298, 210},    {8, 612, 792},    {9, 792, 612},
    {10, 792, 1224},  {11, 1224, 792},  {12, 612, 1008},  {13, 1008, 612},  {14, 396, 612},   {15, 612, 396},
    {16, 522, 756},   {17, 756, 522},
};

// Values reported in the caller's unit; a zero factor cannot be undone.
float toUserUnits(double points, float factor)
{
    if (factor == 0) {
        throw Error(ErrorCode::DivisionByZero, "Division by zero");
    }
    return static_cast<float>(points / factor);
}
} // namespace

void Folian::SetScale(int32_t ScaleMode, float UserFactor)
{
    switch (ScaleMode) {
    case 0:
        ScaleFactor = 1;
        break;
    case 1:
        ScaleFactor = 72;
        break;
    case 2:
        ScaleFactor = static_cast<float>(72.0 / 25.4);
        break;
    case 3:
        ScaleFactor = static_cast<float>(72.0 / 2.54);
        break;
    case 255:
        ScaleFactor = UserFactor;
        break;
    default:
        break;
    }
}

void Folian::SetPaperSize(int32_t PaperSize, float UserWidth, float UserHeight)
{
    if (PaperSize == 255) {
        PageWidth = static_cast<float>(static_cast<double>(UserWidth) * ScaleFactor);
        PageHeight = static_cast<float>(static_cast<double>(UserHeight) * ScaleFactor);
        return;
    }
    for (const Paper& paper : kPapers) {
        if (paper.code == PaperSize) {
            PageWidth = paper.width;
            PageHeight = paper.height;
            return;
        }
    }
}

void Folian::SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage)
{
    MarginLeft = static_cast<float>(static_cast<double>(Left) * ScaleFactor);
    MarginRight = static_cast<float>(static_cast<double>(Right) * ScaleFactor);
    MarginTop = static_cast<float>(static_cast<double>(Top) * ScaleFactor);
    MarginBottom = static_cast<float>(static_cast<double>(Bottom) * ScaleFactor);
    MarginFlag = ClipPage;
}

void Folian::SetPageView(int32_t ViewMode)
{
    if (InPage) {
        PageRotation = ViewMode;
    } else {
        DefaultRotation = ViewMode;
    }
}

float Folian::GetPageWidth(bool KeepMargins) const
{
    const double margins = KeepMargins ? static_cast<double>(MarginLeft) + MarginRight : 0.0;
    return toUserUnits(PageWidth - margins, ScaleFactor);
}

float Folian::GetPageHeight(bool KeepMargins) const
{
    const double margins = KeepMargins ? static_cast<double>(MarginTop) + MarginBottom : 0.0;
    return toUserUnits(PageHeight - margins, ScaleFactor);
}

float Folian::GetX() const
{
    return toUserUnits(CurrentX, ScaleFactor);
}

float Folian::GetY() const
{
    return toUserUnits(CurrentY, ScaleFactor);
}

void Folian::SetXY(float x, float Y)
{
    CurrentX = static_cast<float>(static_cast<double>(x) * ScaleFactor);
    CurrentY = static_cast<float>(static_cast<double>(Y) * ScaleFactor);
}

} // namespace folian
