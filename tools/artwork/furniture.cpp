#include "furniture.h"

#include <algorithm>
#include <cmath>

namespace artwork {

Material Emissive(uint32_t hex, double strength) {
  Material m;
  m.color = Vec3();
  m.emit = Srgb(hex) * strength;
  return m;
}

Material Patterned(Pattern p, uint32_t c1, uint32_t c2, double scale) {
  Material m;
  m.pattern = p;
  m.color = Srgb(c1);
  m.color2 = Srgb(c2);
  m.scale = scale;
  return m;
}

double FacingAngle(double x, double y, double tx, double ty) {
  // Local -y in world is (sin a, -cos a); point it at the target.
  return std::atan2(tx - x, -(ty - y)) * 180 / 3.14159265358979323846;
}

void Window(Builder& b, int wall, double u, double width, double z0, double z1, int frame,
            int glass, double light) {
  b.PushWall(wall);
  b.BeginGroup();
  double h = width / 2;
  b.Box(frame, u - h - 0.07, -0.01, z0 - 0.07, u + h + 0.07, 0.05, z1 + 0.07);
  b.Box(glass, u - h, -0.01, z0, u + h, 0.06, z1);
  b.Box(frame, u - 0.03, -0.01, z0, u + 0.03, 0.08, z1);
  b.Box(frame, u - h - 0.12, -0.01, z0 - 0.11, u + h + 0.12, 0.16, z0 - 0.06);
  b.EndGroup();
  // Daylight through the opening: a broad soft source just inside.
  if (light > 0)
    b.AddLight(u, 0.9, (z0 + z1) / 2, Srgb(0xE8F0FF) * light, 3.0, std::min(0.6, h), true);
  b.Pop();
}

void Curtains(Builder& b, int wall, double u, double width, double top, int cloth) {
  b.PushWall(wall);
  b.BeginGroup();
  double h = width / 2;
  for (int s = -1; s <= 1; s += 2) {
    double c = u + s * (h + 0.22);
    b.Box(cloth, c - 0.24, 0.02, 0.02, c + 0.24, 0.16, top);
  }
  b.CylH(cloth, 0, u, 0.1, top + 0.03, h + 0.5, 0.025);  // rod
  b.EndGroup();
  b.Pop();
}

void Door(Builder& b, int wall, double u, double width, double height, int panel, int frame) {
  b.PushWall(wall);
  b.BeginGroup();
  double h = width / 2;
  b.Box(frame, u - h - 0.08, -0.01, 0, u + h + 0.08, 0.04, height + 0.08);
  b.Box(panel, u - h, -0.01, 0, u + h, 0.05, height);
  b.Sphere(frame, u + h - 0.1, 0.08, 1.0, 0.035);
  b.EndGroup();
  b.Pop();
}

void Picture(Builder& b, int wall, double u, double zc, double w, double h, int frame, int canvas) {
  b.PushWall(wall);
  b.BeginGroup();
  b.Box(frame, u - w / 2 - 0.05, -0.01, zc - h / 2 - 0.05, u + w / 2 + 0.05, 0.04,
        zc + h / 2 + 0.05);
  b.Box(canvas, u - w / 2, -0.01, zc - h / 2, u + w / 2, 0.05, zc + h / 2);
  b.EndGroup();
  b.Pop();
}

void Bookcase(Builder& b, int wall, double u, double width, double height, int wood, int back,
              const std::vector<int>& covers) {
  b.PushWall(wall);
  b.BeginGroup();
  double h = width / 2, depth = 0.36;
  b.Box(back, u - h, -0.01, 0, u + h, 0.03, height);
  b.Box(wood, u - h, -0.01, 0, u - h + 0.04, depth, height);
  b.Box(wood, u + h - 0.04, -0.01, 0, u + h, depth, height);
  b.Box(wood, u - h, -0.01, height - 0.04, u + h, depth, height);
  int shelves = static_cast<int>((height - 0.1) / 0.48);
  double pitch = (height - 0.08) / shelves;
  int n = 0;
  for (int row = 0; row < shelves; ++row) {
    double z0 = 0.04 + row * pitch;
    b.Box(wood, u - h + 0.04, -0.01, z0 - 0.04, u + h - 0.04, depth, z0);
    double x = u - h + 0.06;
    while (true) {
      double w = 0.04 + 0.015 * ((n * 7) % 3);
      double bh = pitch * (0.62 + 0.08 * ((n * 5) % 4));
      if (x + w > u + h - 0.06)
        break;
      b.Box(covers[(n * 3 + row) % covers.size()], x, 0.06, z0, x + w, depth - 0.04, z0 + bh);
      x += w + 0.008;
      if (n % 9 == 4)
        x += 0.22;  // a gap now and then
      ++n;
    }
  }
  b.EndGroup();
  b.Pop();
}

void Table(Builder& b, double x, double y, double angle, double len, double wid, double height,
           int top, int legs) {
  b.Push(x, y, angle);
  b.BeginGroup();
  b.Box(top, -len / 2, -wid / 2, height - 0.045, len / 2, wid / 2, height);
  double lx = len / 2 - 0.09, ly = wid / 2 - 0.09;
  for (int sx = -1; sx <= 1; sx += 2)
    for (int sy = -1; sy <= 1; sy += 2)
      b.Cyl(legs, sx * lx, sy * ly, 0, height - 0.045, 0.03);
  b.EndGroup();
  b.Pop();
}

void RoundTable(Builder& b, double x, double y, double r, double height, int top, int base) {
  b.Push(x, y, 0);
  b.BeginGroup();
  b.Cyl(top, 0, 0, height - 0.04, height, r);
  b.Cyl(base, 0, 0, 0.02, height - 0.04, 0.06);
  b.Cyl(base, 0, 0, 0, 0.03, 0.32);
  b.EndGroup();
  b.Pop();
}

void Chair(Builder& b, double x, double y, double angle, int seat, int frame) {
  b.Push(x, y, angle);
  b.BeginGroup();
  for (int sx = -1; sx <= 1; sx += 2)
    for (int sy = -1; sy <= 1; sy += 2)
      b.Cyl(frame, sx * 0.19, sy * 0.19, 0, 0.44, 0.018);
  b.Box(seat, -0.23, -0.23, 0.43, 0.23, 0.23, 0.5);
  b.Box(seat, -0.22, 0.17, 0.5, 0.22, 0.24, 0.95, -6);
  b.EndGroup();
  b.Pop();
}

void Sofa(Builder& b, double x, double y, double angle, double len, int body, int cushion) {
  b.Push(x, y, angle);
  b.BeginGroup();
  double h = len / 2;
  b.Box(body, -h, -0.45, 0.08, h, 0.45, 0.4);
  int n = len > 1.5 ? 3 : (len > 1.1 ? 2 : 1);
  double inner = len - 0.36, w = inner / n;
  for (int i = 0; i < n; ++i) {
    double x0 = -h + 0.18 + i * w;
    b.Box(cushion, x0 + 0.01, -0.43, 0.4, x0 + w - 0.01, 0.22, 0.53);
  }
  b.Box(body, -h + 0.16, 0.18, 0.4, h - 0.16, 0.45, 0.88, -8);
  b.Box(body, -h, -0.45, 0.08, -h + 0.18, 0.45, 0.66);
  b.Box(body, h - 0.18, -0.45, 0.08, h, 0.45, 0.66);
  for (int sx = -1; sx <= 1; sx += 2)
    for (int sy = -1; sy <= 1; sy += 2)
      b.Cyl(body, sx * (h - 0.08), sy * 0.37, 0, 0.08, 0.03);
  b.EndGroup();
  b.Pop();
}

void Bed(Builder& b, double x, double y, double angle, double wid, double len, int frame, int sheet,
         int blanket, int pillow) {
  b.Push(x, y, angle);
  b.BeginGroup();
  double w = wid / 2, l = len / 2;
  b.Box(frame, -w, -l, 0.08, w, l, 0.34);
  b.Box(sheet, -w + 0.02, -l + 0.02, 0.34, w - 0.02, l - 0.02, 0.56);
  b.Box(blanket, -w - 0.03, -l - 0.03, 0.26, w + 0.03, l - 0.62, 0.6);
  b.Box(blanket, -w - 0.03, l - 0.7, 0.26, w + 0.03, l - 0.56, 0.62);
  int pillows = wid > 1.2 ? 2 : 1;
  for (int i = 0; i < pillows; ++i) {
    double px = pillows == 1 ? 0 : (i == 0 ? -w / 2 : w / 2);
    double rx = pillows == 1 ? w - 0.12 : w / 2 - 0.06;
    b.Ellipsoid(pillow, px, l - 0.3, 0.62, rx, 0.2, 0.09);
  }
  b.Box(frame, -w - 0.06, l, 0.0, w + 0.06, l + 0.08, 1.15);
  b.EndGroup();
  b.Pop();
}

void Nightstand(Builder& b, double x, double y, double angle, int wood, int shade) {
  b.Push(x, y, angle);
  b.BeginGroup();
  b.Box(wood, -0.25, -0.22, 0, 0.25, 0.22, 0.56);
  b.Box(wood, -0.21, -0.235, 0.3, 0.21, -0.2, 0.5);
  b.Cyl(wood, 0, 0, 0.56, 0.62, 0.08);
  b.Cyl(wood, 0, 0, 0.62, 0.82, 0.015);
  b.Cyl(shade, 0, 0, 0.8, 1.04, 0.16);
  b.EndGroup();
  b.AddLight(0, 0, 0.92, Srgb(0xFFD8A0) * 0.55, 1.4, 0.05, true);
  b.Pop();
}

void FloorLamp(Builder& b, double x, double y, int metal, int shade) {
  b.Push(x, y, 0);
  b.BeginGroup();
  b.Cyl(metal, 0, 0, 0, 0.03, 0.18);
  b.Cyl(metal, 0, 0, 0.03, 1.45, 0.015);
  b.Cyl(shade, 0, 0, 1.4, 1.72, 0.2);
  b.EndGroup();
  b.AddLight(0, 0, 1.55, Srgb(0xFFD8A0) * 0.7, 1.6, 0.05, true);
  b.Pop();
}

void Plant(Builder& b, double x, double y, double height, int pot, int leaf, int leaf2) {
  b.Push(x, y, 0);
  b.BeginGroup();
  b.Cyl(pot, 0, 0, 0, 0.42, 0.2);
  double top = height - 0.42;
  b.Ellipsoid(leaf, 0, 0, 0.42 + top * 0.55, 0.34, 0.34, top * 0.48);
  b.Ellipsoid(leaf2, 0.12, -0.1, 0.42 + top * 0.38, 0.26, 0.26, top * 0.3);
  b.Ellipsoid(leaf2, -0.14, 0.08, 0.42 + top * 0.75, 0.22, 0.22, top * 0.25);
  b.EndGroup();
  b.Pop();
}

void Rug(Builder& b, double x0, double y0, double x1, double y1, int mat) {
  b.BeginGroup();
  b.Box(mat, x0, y0, 0, x1, y1, 0.012);
  b.EndGroup();
}

void CeilingPanel(Builder& b, double x, double y, double ceiling, double w, double l, int glow,
                  const Vec3& light, double range) {
  b.BeginGroup();
  b.Box(glow, x - w / 2, y - l / 2, ceiling - 0.02, x + w / 2, y + l / 2, ceiling + 0.01);
  b.EndGroup();
  b.AddLight(x, y, ceiling - 0.25, light, range, std::min(w, l) / 2, true);
}

void Chandelier(Builder& b, double x, double y, double ceiling, int metal, int glow,
                const Vec3& light, double range) {
  b.Push(x, y, 0);
  b.SetShadows(false);
  b.BeginGroup();
  b.Cyl(metal, 0, 0, ceiling - 0.1, ceiling, 0.12);
  b.Cyl(metal, 0, 0, ceiling - 0.75, ceiling - 0.1, 0.015);
  b.Ellipsoid(metal, 0, 0, ceiling - 0.82, 0.1, 0.1, 0.14);
  b.Cyl(metal, 0, 0, ceiling - 0.9, ceiling - 0.88, 0.5);
  for (int k = 0; k < 8; ++k) {
    double a = k * 3.14159265358979323846 / 4;
    double cx = 0.45 * std::cos(a), cy = 0.45 * std::sin(a);
    b.Cyl(metal, cx, cy, ceiling - 0.88, ceiling - 0.8, 0.03);
    b.Ellipsoid(glow, cx, cy, ceiling - 0.73, 0.045, 0.045, 0.075);
  }
  b.EndGroup();
  b.SetShadows(true);
  b.AddLight(0, 0, ceiling - 0.98, light, range, 0.35, true);
  b.Pop();
}

void Pendant(Builder& b, double x, double y, double ceiling, double drop, int cord, int shade,
             const Vec3& light, double range) {
  b.Push(x, y, 0);
  b.SetShadows(false);
  b.BeginGroup();
  b.Cyl(cord, 0, 0, ceiling - drop + 0.12, ceiling, 0.008);
  b.Ellipsoid(shade, 0, 0, ceiling - drop, 0.17, 0.17, 0.14);
  b.EndGroup();
  b.SetShadows(true);
  b.AddLight(0, 0, ceiling - drop - 0.2, light, range, 0.1, true);
  b.Pop();
}

}  // namespace artwork
