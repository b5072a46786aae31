// 2-D shape predicates and fills for the small bitmaps. Coordinates are in
// pixels with pixel (i, j) covering [i, i+1) x [j, j+1); its centre is at
// (i + 0.5, j + 0.5).
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "image.h"

namespace artwork {

using Region = std::function<bool(double, double)>;

Region Circle(double cx, double cy, double r);
Region Ellipse(double cx, double cy, double rx, double ry);
Region Ring(double cx, double cy, double r0, double r1);
Region Rect(double x0, double y0, double x1, double y1);
Region RoundRect(double x0, double y0, double x1, double y1, double r);
Region Polygon(std::vector<std::pair<double, double>> pts);
// Thick line segment with round ends, total width w.
Region Segment(double ax, double ay, double bx, double by, double w);
Region Union(Region a, Region b);
Region Minus(Region a, Region b);

// Anti-aliased fill: blends `c` by coverage from ss x ss samples per pixel.
void Fill(Image* img, const Region& r, Rgb c, int ss = 4);
// Vertical gradient fill (top colour to bottom colour) inside r.
void FillGradient(Image* img, const Region& r, Rgb top, Rgb bottom, double y0, double y1,
                  int ss = 4);
// Hard-edged fill of palette images: a pixel takes `index` when its centre
// lies inside r. Optionally marks it opaque.
void Fill(Indexed* img, const Region& r, uint8_t index);
// As above, but pixels of r that touch the outside of r (4-neighbours) get
// `outline`: a one pixel border that follows any shape.
void FillOutlined(Indexed* img, const Region& r, uint8_t fill, uint8_t outline);

}  // namespace artwork
