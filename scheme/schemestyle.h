#pragma once
// Visual constants of the scheme scenes: the voltage-class palette, the
// editor's voltage classes and what is drawn at each class. The regime
// display uses the same palette with class bounds of its own; the automatic
// layout sizes with its own classes (createsxem.h).

#include <QColor>
#include <QtGlobal>

namespace SchemeStyle {

constexpr int kPaletteSize = 13;

// Sizes of drawn elements per voltage class. Classes run 0..8 but the tables
// stop at 7: class 8 (950 kV and above) takes the last entry.
struct ClassSizes
{
    double penWidth;       // line sections
    double transf2Width;   // new two-winding transformer
    double transf2Height;
    double transf3Width;   // new three-winding transformer
    double transf3Height;
};

constexpr ClassSizes kClassSizes[] = {
    {1.5, 15, 30, 30, 30}, {1.8, 18, 35, 35, 35}, {2.0, 20, 40, 40, 40}, {2.2, 22, 45, 45, 45},
    {2.5, 25, 50, 50, 50}, {3.0, 30, 60, 60, 60}, {4.0, 35, 70, 70, 70}, {5.0, 40, 80, 80, 80},
};
constexpr int kSizedClasses = int(sizeof(kClassSizes) / sizeof(kClassSizes[0]));

} // namespace SchemeStyle

// Colour of a voltage class (palette index 0..12); an index outside the
// palette takes its nearest end, so no lookup ever leaves it.
inline QColor paletteColor(int index)
{
    static const QColor colors[SchemeStyle::kPaletteSize] = {
        {192, 192, 192}, {102, 255, 102}, {0, 102, 51},  {102, 0, 204}, {255, 178, 102},
        {153, 76, 0},    {0, 128, 255},   {204, 204, 0}, {255, 0, 0},   {0, 255, 0},
        {0, 0, 255},     {0, 0, 0},       {255, 153, 204},
    };
    return colors[qBound(0, index, SchemeStyle::kPaletteSize - 1)];
}

// The editor's voltage class of u kV: the index of the first of the bounds
// 1, 4, 8, 12, 25, 50, 130, 950 kV greater than u, 8 from 950 kV on.
inline int _KU(float u)
{
    constexpr float bounds[] = {1, 4, 8, 12, 25, 50, 130, 950};
    int k = 0;
    while (k < 8 && !(bounds[k] > u))
        ++k;
    return k;
}

inline const SchemeStyle::ClassSizes& sceneSizes(int voltageClass)
{
    return SchemeStyle::kClassSizes[qBound(0, voltageClass, SchemeStyle::kSizedClasses - 1)];
}
