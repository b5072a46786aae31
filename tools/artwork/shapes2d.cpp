#include "shapes2d.h"

#include <algorithm>
#include <cmath>

namespace artwork {

Region Circle(double cx, double cy, double r) {
  return [=](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
}

Region Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    double u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1;
  };
}

Region Ring(double cx, double cy, double r0, double r1) {
  return [=](double x, double y) {
    double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return d >= r0 * r0 && d <= r1 * r1;
  };
}

Region Rect(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Region RoundRect(double x0, double y0, double x1, double y1, double r) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1)
      return false;
    double cx = std::clamp(x, x0 + r, x1 - r);
    double cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

Region Polygon(std::vector<std::pair<double, double>> pts) {
  return [pts](double x, double y) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      double xi = pts[i].first, yi = pts[i].second;
      double xj = pts[j].first, yj = pts[j].second;
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
        in = !in;
    }
    return in;
  };
}

Region Segment(double ax, double ay, double bx, double by, double w) {
  return [=](double x, double y) {
    double dx = bx - ax, dy = by - ay;
    double t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
    t = std::clamp(t, 0.0, 1.0);
    double px = ax + t * dx - x, py = ay + t * dy - y;
    return px * px + py * py <= w * w / 4;
  };
}

Region Union(Region a, Region b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Region Minus(Region a, Region b) {
  return [=](double x, double y) { return a(x, y) && !b(x, y); };
}

namespace {

Rgb Blend(Rgb under, Rgb over, double a) {
  auto m = [a](uint8_t p, uint8_t q) { return static_cast<uint8_t>(std::lround(p + (q - p) * a)); };
  return {m(under.r, over.r), m(under.g, over.g), m(under.b, over.b)};
}

double Coverage(const Region& r, int x, int y, int ss) {
  int n = 0;
  for (int j = 0; j < ss; ++j)
    for (int i = 0; i < ss; ++i)
      if (r(x + (i + 0.5) / ss, y + (j + 0.5) / ss))
        ++n;
  return n / double(ss * ss);
}

}  // namespace

void Fill(Image* img, const Region& r, Rgb c, int ss) {
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x < img->width; ++x) {
      double a = Coverage(r, x, y, ss);
      if (a > 0)
        img->at(x, y) = Blend(img->at(x, y), c, a);
    }
}

void FillGradient(Image* img, const Region& r, Rgb top, Rgb bottom, double y0, double y1, int ss) {
  for (int y = 0; y < img->height; ++y) {
    double t = std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0);
    Rgb c = Blend(top, bottom, t);
    for (int x = 0; x < img->width; ++x) {
      double a = Coverage(r, x, y, ss);
      if (a > 0)
        img->at(x, y) = Blend(img->at(x, y), c, a);
    }
  }
}

void Fill(Indexed* img, const Region& r, uint8_t index) {
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x < img->width; ++x)
      if (r(x + 0.5, y + 0.5)) {
        img->at(x, y) = index;
        img->transparent[y * img->width + x] = false;
      }
}

void FillOutlined(Indexed* img, const Region& r, uint8_t fill, uint8_t outline) {
  for (int y = 0; y < img->height; ++y)
    for (int x = 0; x < img->width; ++x) {
      double cx = x + 0.5, cy = y + 0.5;
      if (!r(cx, cy))
        continue;
      bool edge = !r(cx - 1, cy) || !r(cx + 1, cy) || !r(cx, cy - 1) || !r(cx, cy + 1);
      img->at(x, y) = edge ? outline : fill;
      img->transparent[y * img->width + x] = false;
    }
}

}  // namespace artwork
