#include "painters.h"

#include <algorithm>
#include <cmath>

#include "font.h"
#include "raycast.h"
#include "rooms.h"
#include "shapes2d.h"

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;

void Text(Indexed* img, const std::string& s, int x, int y, uint8_t index, int scale = 1) {
  DrawText(s, x, y, scale, [&](int px, int py) {
    if (px >= 0 && py >= 0 && px < img->width && py < img->height) {
      img->at(px, py) = index;
      img->transparent[py * img->width + px] = false;
    }
  });
}

void Text(Image* img, const std::string& s, int x, int y, Rgb c, int scale = 1) {
  DrawText(s, x, y, scale, [&](int px, int py) {
    if (px >= 0 && py >= 0 && px < img->width && py < img->height)
      img->at(px, py) = c;
  });
}

Rgb Hex(uint32_t h) {
  return {uint8_t(h >> 16), uint8_t(h >> 8), uint8_t(h)};
}

Rgb Shade(Rgb c, double k) {
  auto f = [k](uint8_t v) { return static_cast<uint8_t>(std::clamp(v * k, 0.0, 255.0)); };
  return {f(c.r), f(c.g), f(c.b)};
}

// Toolbar pictures, drawn in a 40-pixel cell whose picture area is rows
// 1..20 (captions take the rest).
void ArrowPicture(Indexed* img, int ox, bool left) {
  std::vector<std::pair<double, double>> pts = {{8, 11},  {19, 3},  {19, 7}, {32, 7},
                                                {32, 15}, {19, 15}, {19, 19}};
  for (auto& p : pts)
    p.first = ox + (left ? p.first : 40 - p.first);
  FillOutlined(img, Polygon(pts), kBlue, kNavy);
}

void MagnifierPicture(Indexed* img, int ox, bool plus) {
  Fill(img, Segment(ox + 21.5, 14.5, ox + 28.5, 21, 4), kBlack);
  Fill(img, Circle(ox + 17, 10, 7), kNavy);
  Fill(img, Circle(ox + 17, 10, 5), kWhite);
  Fill(img, Rect(ox + 14, 9, ox + 20, 11), kBlack);
  if (plus)
    Fill(img, Rect(ox + 16, 7, ox + 18, 13), kBlack);
}

}  // namespace

Indexed PaintToolbar() {
  Indexed img(400, 38, VgaPalette());
  std::fill(img.index.begin(), img.index.end(), kSilver);
  struct Button {
    std::vector<std::string> caption;
  };
  const std::vector<Button> buttons = {{{"Left"}},
                                       {{"Stop"}},
                                       {{"Right"}},
                                       {{"Zoom in"}},
                                       {{"Zoom out"}},
                                       {{"Contact", "info"}},
                                       {{"Send to", "a friend"}},
                                       {{}},
                                       {{}},
                                       {{}}};
  for (int i = 0; i < 10; ++i) {
    int ox = i * 40;
    switch (i) {
      case 0:
      case 2:
        ArrowPicture(&img, ox, i == 0);
        break;
      case 1:
        FillOutlined(&img, Rect(ox + 13, 4, ox + 27, 18), kRed, kMaroon);
        break;
      case 3:
      case 4:
        MagnifierPicture(&img, ox, i == 3);
        break;
      case 5:
        FillOutlined(&img, Circle(ox + 20, 11, 8.6), kBlue, kNavy);
        Fill(&img, Rect(ox + 19, 5, ox + 21, 7), kWhite);
        Fill(&img, Rect(ox + 19, 8, ox + 21, 16), kWhite);
        Fill(&img, Rect(ox + 18, 8, ox + 19, 9), kWhite);
        Fill(&img, Rect(ox + 18, 15, ox + 22, 16), kWhite);
        break;
      case 6:
        FillOutlined(&img, Rect(ox + 9, 5, ox + 31, 19), kWhite, kBlack);
        Fill(&img, Segment(ox + 9.5, 5.5, ox + 20, 13, 1.2), kBlack);
        Fill(&img, Segment(ox + 30.5, 5.5, ox + 20, 13, 1.2), kBlack);
        Fill(&img, Segment(ox + 9.5, 18.5, ox + 16, 13, 1.0), kGrey);
        Fill(&img, Segment(ox + 30.5, 18.5, ox + 24, 13, 1.0), kGrey);
        break;
      default:
        break;  // spare slots stay plain button face
    }
    const auto& lines = buttons[i].caption;
    if (lines.empty())
      continue;
    int n = static_cast<int>(lines.size());
    int block = kFontCapHeight + 8 * (n - 1);
    int top = 22 + (15 - block) / 2;
    for (int l = 0; l < n; ++l) {
      int w = TextWidth(lines[l]);
      if (w > 38) {
        std::fprintf(stderr, "artwork: caption '%s' too wide (%d)\n", lines[l].c_str(), w);
        std::exit(1);
      }
      Text(&img, lines[l], ox + (40 - w + 1) / 2, top + 8 * l, kBlack);
    }
  }
  return img;
}

Indexed PaintBadge() {
  Indexed img(46, 46, VgaPalette());
  std::fill(img.index.begin(), img.index.end(), kWhite);
  const double c = 23;
  Region inner = Circle(c, c, 19.6);
  Fill(&img, Circle(c, c, 22.4), kNavy);
  Fill(&img, inner, kBlue);
  // Globe graticule: two meridian ellipses and two parallels.
  for (double rx : {7.0, 14.0}) {
    Region line = Minus(Ellipse(c, c, rx + 0.7, 19.6), Ellipse(c, c, rx - 0.7, 18.6));
    Fill(
        &img, [&](double x, double y) { return inner(x, y) && line(x, y); }, kAqua);
  }
  Fill(
      &img, [&](double x, double y) { return inner(x, y) && x > 22.4 && x < 23.6; }, kAqua);
  for (double py : {9.5, 36.5})
    Fill(
        &img, [&](double x, double y) { return inner(x, y) && std::fabs(y - py) < 0.6; }, kAqua);
  // Name band across the middle, the maker's "O" leading the word.
  Fill(
      &img, [&](double x, double y) { return Circle(c, c, 22.4)(x, y) && y >= 17 && y < 29; },
      kNavy);
  int w = TextWidth("Orvo");
  Text(&img, "Orvo", (46 - w) / 2, 19, kYellow);
  return img;
}

Indexed PaintAppIcon(int size) {
  Indexed img(size, size, VgaPalette());
  std::fill(img.transparent.begin(), img.transparent.end(), true);
  double k = size / 32.0, c = size / 2.0;
  // A round "O" frame holding a tiny panorama: sky, sun, hills.
  Fill(&img, Circle(c, c, 15.6 * k), kNavy);
  Region inside = Circle(c, c, (size == 32 ? 13.2 : 6.4));
  Fill(&img, inside, kAqua);
  Fill(
      &img, [&](double x, double y) { return inside(x, y) && y < c - 4 * k; }, kBlue);
  Fill(
      &img, [&](double x, double y) { return inside(x, y) && y < c - 9 * k; }, kNavy);
  Fill(&img, Circle(c + 5 * k, c - 3.5 * k, 3.2 * k), kYellow);
  Fill(
      &img,
      [&](double x, double y) {
        double ridge = c + 2 * k + 2.5 * k * std::sin((x / k) * 0.45 + 0.5);
        return inside(x, y) && y > ridge;
      },
      kGreen);
  Fill(
      &img,
      [&](double x, double y) {
        double ridge = c + 7 * k + 1.5 * k * std::sin((x / k) * 0.3 + 2.5);
        return inside(x, y) && y > ridge;
      },
      kOlive);
  return img;
}

Indexed PaintInfoIcon(int size) {
  Indexed img(size, size, VgaPalette());
  std::fill(img.transparent.begin(), img.transparent.end(), true);
  double k = size / 32.0;
  Region balloon = Union(Ellipse(16 * k, 13 * k, 15 * k, 12 * k),
                         Polygon({{7 * k, 19 * k}, {4 * k, 31 * k}, {16 * k, 23 * k}}));
  FillOutlined(&img, balloon, kWhite, kBlack);
  if (size >= 32) {
    Fill(&img, Circle(16, 6.5, 2.2), kBlue);
    Fill(&img, Rect(14, 10, 18, 20), kBlue);
    Fill(&img, Rect(12, 10, 14, 12), kBlue);
    Fill(&img, Rect(12, 19, 20, 21), kBlue);
  } else {
    Fill(&img, Rect(7, 2, 9, 4), kBlue);
    Fill(&img, Rect(7, 5, 9, 10), kBlue);
    Fill(&img, Rect(6, 5, 7, 6), kBlue);
    Fill(&img, Rect(6, 10, 10, 11), kBlue);
  }
  return img;
}

Indexed PaintHandCursor() {
  Indexed img(32, 32, {{0, 0, 0}, {255, 255, 255}});
  std::fill(img.transparent.begin(), img.transparent.end(), true);
  // Union of finger columns, palm, thumb and cuff; the outline follows it.
  auto cell = [](int x0, int x1, int top, int bottom) {
    return [=](double x, double y) {
      int px = static_cast<int>(std::floor(x)), py = static_cast<int>(std::floor(y));
      if (px < x0 || px > x1 || py < top || py > bottom)
        return false;
      return !(py == top && (px == x0 || px == x1));  // rounded tip
    };
  };
  Region hand = cell(kHandHotX - 2, kHandHotX + 2, kHandHotY, 12);
  hand = Union(hand, cell(8, 12, 5, 12));
  hand = Union(hand, cell(12, 16, 6, 12));
  hand = Union(hand, cell(16, 19, 8, 13));
  hand = Union(hand, cell(4, 19, 11, 18));
  hand = Union(
      hand, [](double x, double y) { return y < 19 && Segment(1.5, 10.5, 5.5, 15.5, 4.2)(x, y); });
  hand = Union(hand, cell(5, 18, 18, 20));
  hand = Union(hand, cell(6, 17, 20, 23));
  FillOutlined(&img, hand, 1, 0);
  // Creases between the folded fingers and the cuff seam.
  for (int y = 5; y <= 10; ++y)
    img.at(8, y) = 0;
  for (int y = 6; y <= 10; ++y)
    img.at(12, y) = 0;
  for (int y = 8; y <= 10; ++y)
    img.at(16, y) = 0;
  for (int x = 6; x <= 17; ++x)
    img.at(x, 20) = 0;
  return img;
}

namespace {

// The panorama band of the splash: a cylinder seen from above and in
// front, the tour's first room printed on its inside, a soft shadow below.
Image SplashCylinder(int w, int h) {
  Scene lobby = BuildRoom(0);
  const int tw = 480, th = 80;
  std::vector<uint8_t> tex = RenderStrip(lobby, tw, th, 2);
  Image out(w, h, {255, 255, 255});
  const double elev = 24 * kPi / 180, ce = std::cos(elev), se = std::sin(elev);
  const double height = 0.62;  // band height for a radius of 1
  // Fit the projected band (half height se + height/2 * ce) into the box.
  const double scale = std::min(w / 2.0 - 4, (h / 2.0 - 4) / (se + height / 2 * ce));
  const int ss = 3;
  for (int py = 0; py < h; ++py)
    for (int px = 0; px < w; ++px) {
      double acc[3] = {0, 0, 0};
      for (int j = 0; j < ss; ++j)
        for (int i = 0; i < ss; ++i) {
          double sx = (px + (i + 0.5) / ss - w / 2.0) / scale;
          double sy = -(py + (j + 0.5) / ss - h / 2.0) / scale;
          // Orthographic ray: direction (0, ce, -se), screen up (0, se, ce).
          double ox = sx, oy = sy * se - 5 * ce;
          double oz = height / 2 + sy * ce + 5 * se;
          double dy = ce, dz = -se;
          Rgb c = {255, 255, 255};
          bool hit = false;
          if (std::fabs(ox) < 1) {
            double root = std::sqrt(1 - ox * ox);
            double t1 = (-root - oy) / dy, t2 = (root - oy) / dy;
            double z1 = oz + t1 * dz, z2 = oz + t2 * dz;
            if (z1 >= 0 && z1 <= height) {
              // Outer face: deep blue, brighter towards the left and top.
              double lit = 0.95 - 0.3 * ox + 0.25 * (z1 / height);
              c = Shade(Hex(0x1E4E8C), lit);
              if (z1 > height - 0.025)
                c = Hex(0xC8D8EC);  // rim
              hit = true;
            } else if (z1 > height && z2 >= 0 && z2 <= height) {
              double yy = oy + t2 * dy;
              double phi = std::atan2(yy, ox);
              double u = std::fmod(-phi / (2 * kPi) + 1.25, 1.0);
              int tx = std::min(tw - 1, static_cast<int>(u * tw));
              int ty = std::clamp(static_cast<int>((height - z2) / height * th), 0, th - 1);
              const uint8_t* p = &tex[(ty * tw + tx) * 3];
              c = {p[0], p[1], p[2]};
              hit = true;
            }
          }
          if (!hit) {
            double gy = oy + (-oz / dz) * dy;
            double r = std::hypot(ox, gy - 0.15);
            double dark = 0.14 * std::clamp((1.45 - r) / 0.5, 0.0, 1.0);
            c = Shade({255, 255, 255}, 1 - dark);
          }
          acc[0] += c.r;
          acc[1] += c.g;
          acc[2] += c.b;
        }
      const double n = ss * ss;
      out.at(px, py) = {uint8_t(acc[0] / n + 0.5), uint8_t(acc[1] / n + 0.5),
                        uint8_t(acc[2] / n + 0.5)};
    }
  return out;
}

}  // namespace

Indexed PaintSplash() {
  Image img(190, 150, {255, 255, 255});
  Image band = SplashCylinder(170, 100);
  for (int y = 0; y < band.height; ++y)
    for (int x = 0; x < band.width; ++x)
      img.at(10 + x, 6 + y) = band.at(x, y);
  const std::string word = "Loading...";
  int w = TextWidth(word, 2);
  Text(&img, word, (190 - w) / 2, 116, Hex(0x1E3A6A), 2);
  // Palette: white kept exact (it is the ground), the rest by median cut.
  std::vector<Rgb> pal = MedianCut(img, 255);
  pal.push_back({255, 255, 255});
  Indexed out = MapToPalette(img, pal);
  return out;
}

Image PaintPanel(std::vector<PanelButton>* buttons) {
  Image img(528, 64, {255, 255, 255});
  FillGradient(&img, Rect(0, 0, 528, 64), Hex(0xF6F6F4), Hex(0xDCDCD8), 0, 64, 1);
  Fill(&img, Minus(Rect(0, 0, 528, 64), Rect(1, 1, 527, 63)), Hex(0x9A9A96), 1);
  struct Spec {
    const char* label;
    uint32_t color;
  };
  const Spec specs[] = {{"Book now", 0xC0392B},
                        {"Floor plan", 0x2E8B57},
                        {"Photos", 0x2A7AB8},
                        {"Map", 0xD4880E},
                        {"Rates", 0x8E44AD}};
  const Rgb white = {255, 255, 255};
  buttons->clear();
  // The seasonal offers: a gold ground behind the last two and a half
  // buttons, one hot spot of its own where the buttons leave it showing.
  const PanelButton offers{"Offers", 280, 0, 528, 64};
  FillGradient(&img, Rect(offers.left, offers.top, offers.right, offers.bottom), Hex(0xFFF0A0),
               Hex(0xFFD21F), offers.top, offers.bottom, 1);
  Fill(&img,
       Minus(Rect(offers.left, offers.top, offers.right, offers.bottom),
             Rect(offers.left + 1, offers.top + 1, offers.right - 1, offers.bottom - 1)),
       Hex(0x9A7400), 1);
  for (int i = 0; i < 5; ++i) {
    PanelButton b{specs[i].label, 4 + 105 * i, 6, 4 + 105 * i + 100, 58};
    buttons->push_back(b);
    Rgb c = Hex(specs[i].color);
    FillGradient(&img, Rect(b.left, b.top, b.right, b.bottom), Shade(c, 1.15), Shade(c, 0.85),
                 b.top, b.bottom, 1);
    Fill(&img,
         Minus(Rect(b.left, b.top, b.right, b.bottom),
               Rect(b.left + 1, b.top + 1, b.right - 1, b.bottom - 1)),
         Shade(c, 0.55), 1);
    // Small white pictogram above the label.
    double cx = (b.left + b.right) / 2.0, cy = 19;
    switch (i) {
      case 0:  // calendar
        Fill(&img, RoundRect(cx - 10, cy - 8, cx + 10, cy + 9, 2), white);
        Fill(&img, Rect(cx - 10, cy - 4, cx + 10, cy - 3), Shade(c, 0.8));
        for (int r = 0; r < 3; ++r)
          for (int q = 0; q < 4; ++q)
            Fill(&img,
                 Rect(cx - 8 + q * 4.5, cy - 1 + r * 3.3, cx - 5.5 + q * 4.5, cy + 1 + r * 3.3), c);
        Fill(&img, Rect(cx - 6, cy - 11, cx - 4, cy - 6), white);
        Fill(&img, Rect(cx + 4, cy - 11, cx + 6, cy - 6), white);
        break;
      case 1:  // floor plan: walls with a door gap
        Fill(&img,
             Minus(Rect(cx - 12, cy - 9, cx + 12, cy + 9), Rect(cx - 10, cy - 7, cx + 10, cy + 7)),
             white);
        Fill(&img, Rect(cx - 1, cy - 7, cx + 1, cy + 2), white);
        Fill(&img, Rect(cx + 1, cy - 1, cx + 10, cy + 1), white);
        Fill(&img, Rect(cx - 6, cy + 7, cx - 1, cy + 9), c);
        break;
      case 2:  // camera
        Fill(&img, RoundRect(cx - 12, cy - 6, cx + 12, cy + 9, 2), white);
        Fill(&img, RoundRect(cx - 5, cy - 9, cx + 3, cy - 5, 1), white);
        Fill(&img, Circle(cx, cy + 1.5, 5.5), c);
        Fill(&img, Circle(cx, cy + 1.5, 3), white);
        break;
      case 3:  // map pin
        Fill(&img,
             Union(Circle(cx, cy - 3, 7), Polygon({{cx - 6, cy}, {cx + 6, cy}, {cx, cy + 10}})),
             white);
        Fill(&img, Circle(cx, cy - 3, 2.8), c);
        break;
      default:  // price tag
        Fill(&img,
             Polygon({{cx - 11, cy - 3},
                      {cx - 4, cy - 9},
                      {cx + 11, cy - 9},
                      {cx + 11, cy + 9},
                      {cx - 4, cy + 9},
                      {cx - 11, cy + 3}}),
             white);
        Fill(&img, Circle(cx - 5, cy, 2), c);
        Fill(&img, Rect(cx + 0, cy - 1, cx + 8, cy + 1), c);
        break;
    }
    int w = TextWidth(b.label, 2);
    Text(&img, b.label, b.left + (100 - w) / 2, 33, white, 2);
  }
  buttons->push_back(offers);
  return img;
}

Image PaintLogo() {
  Image img(48, 48, {255, 255, 255});
  Rgb teal = Hex(0x1F5F7A), gold = Hex(0xE0A830), white = {255, 255, 255};
  Fill(&img, RoundRect(1, 1, 47, 47, 8), teal);
  // House: roof, chimney, walls, door and window.
  Fill(&img, Rect(31, 9, 35, 18), white);
  Fill(&img, Polygon({{7, 24}, {24, 8}, {41, 24}, {37, 24}, {24, 12.5}, {11, 24}}), gold);
  Fill(&img, Polygon({{12, 24}, {24, 13}, {36, 24}, {36, 39}, {12, 39}}), white);
  Fill(&img, Rect(20, 28, 27, 39), teal);
  Fill(&img, Circle(25.5, 34, 0.9), gold);
  Fill(&img, Rect(29, 27, 34, 32), teal);
  Fill(&img, Rect(6, 39, 42, 41), gold);
  return img;
}

}  // namespace artwork
