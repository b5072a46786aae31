#include "raycast.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEps = 1e-6;
constexpr double kFar = 1e30;

double Clamp01(double v) {
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}
double Smooth(double e0, double e1, double x) {
  double t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
double Fract(double v) {
  return v - std::floor(v);
}
// Small integer hash mapped to [0,1): fixed, so output is reproducible.
double Hash(int a, int b = 0) {
  uint32_t h = static_cast<uint32_t>(a) * 374761393u + static_cast<uint32_t>(b) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xffffff) / double(0x1000000);
}

struct Ray {
  Vec3 o, d;
};

struct Hit {
  double t = kFar;
  int material = -1;
  Vec3 normal;    // world, unit, facing the ray origin
  Vec3 local;     // hit in the primitive's unit space
  int axis = 2;   // local axis of the face normal (box faces, caps)
  int face = -1;  // room shell face: 0..3 walls, 4 floor, 5 ceiling
};

// Ray vs axis-aligned box, parametric range [0, tmax]. Used to cull groups.
bool HitsBounds(const Ray& r, const Vec3& lo, const Vec3& hi, double tmax) {
  double t0 = 0, t1 = tmax;
  for (int i = 0; i < 3; ++i) {
    double d = r.d[i], o = r.o[i];
    if (std::fabs(d) < 1e-12) {
      if (o < lo[i] || o > hi[i])
        return false;
      continue;
    }
    double a = (lo[i] - o) / d, b = (hi[i] - o) / d;
    if (a > b)
      std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    if (t0 > t1)
      return false;
  }
  return true;
}

// Intersects one shape; on a nearer hit than h->t fills h (except material).
bool Intersect(const Shape& s, const Ray& r, Hit* h) {
  Vec3 rel = r.o - s.center;
  Vec3 o(Dot(rel, s.rot[0]), Dot(rel, s.rot[1]), Dot(rel, s.rot[2]));
  Vec3 d(Dot(r.d, s.rot[0]), Dot(r.d, s.rot[1]), Dot(r.d, s.rot[2]));
  o = o / s.half;
  d = d / s.half;
  double t = kFar;
  Vec3 n;
  int axis = 2;
  switch (s.kind) {
    case Kind::kBox: {
      double tn = -kFar, tf = kFar;
      int ax = 0;
      for (int i = 0; i < 3; ++i) {
        if (std::fabs(d[i]) < 1e-12) {
          if (std::fabs(o[i]) > 1)
            return false;
          continue;
        }
        double a = (-1 - o[i]) / d[i], b = (1 - o[i]) / d[i];
        if (a > b)
          std::swap(a, b);
        if (a > tn) {
          tn = a;
          ax = i;
        }
        tf = std::min(tf, b);
      }
      if (tn > tf || tn <= kEps)
        return false;
      t = tn;
      axis = ax;
      n[ax] = d[ax] > 0 ? -1 : 1;
      break;
    }
    case Kind::kCylinder: {
      double a = d.x * d.x + d.y * d.y;
      if (a > 1e-14) {
        double b = o.x * d.x + o.y * d.y;
        double c = o.x * o.x + o.y * o.y - 1;
        double disc = b * b - a * c;
        if (disc >= 0) {
          double tt = (-b - std::sqrt(disc)) / a;
          double z = o.z + tt * d.z;
          if (tt > kEps && std::fabs(z) <= 1) {
            t = tt;
            n = Vec3(o.x + tt * d.x, o.y + tt * d.y, 0);
            axis = 3;  // curved side: no flat face
          }
        }
      }
      if (std::fabs(d.z) > 1e-12) {
        for (int sgn = -1; sgn <= 1; sgn += 2) {
          double tt = (sgn - o.z) / d.z;
          if (tt <= kEps || tt >= t)
            continue;
          double x = o.x + tt * d.x, y = o.y + tt * d.y;
          if (x * x + y * y <= 1 && sgn * d.z < 0) {
            t = tt;
            n = Vec3(0, 0, sgn);
            axis = 2;
          }
        }
      }
      if (t >= kFar)
        return false;
      break;
    }
    case Kind::kSphere: {
      double a = Dot(d, d), b = Dot(o, d), c = Dot(o, o) - 1;
      double disc = b * b - a * c;
      if (disc < 0)
        return false;
      double tt = (-b - std::sqrt(disc)) / a;
      if (tt <= kEps)
        return false;
      t = tt;
      n = o + d * tt;
      axis = 3;
      break;
    }
  }
  if (t >= h->t)
    return false;
  h->t = t;
  h->local = o + d * t;
  h->axis = axis;
  h->face = -1;
  // Normal transform: inverse transpose of the scale, then rotate back.
  Vec3 nl = n / s.half;
  h->normal = Normalize(s.rot[0] * nl.x + s.rot[1] * nl.y + s.rot[2] * nl.z);
  return true;
}

class Tracer {
 public:
  explicit Tracer(const Scene& s) : s_(s) {}

  Hit Closest(const Ray& r) const {
    Hit h;
    // Room shell, seen from inside: the nearest exit plane.
    for (int i = 0; i < 3; ++i) {
      double d = r.d[i];
      if (std::fabs(d) < 1e-12)
        continue;
      double plane = d > 0 ? s_.room_hi[i] : s_.room_lo[i];
      double t = (plane - r.o[i]) / d;
      if (t > 0 && t < h.t) {
        h.t = t;
        Vec3 n;
        n[i] = d > 0 ? -1 : 1;
        h.normal = n;
        h.face = i == 2 ? (d > 0 ? 5 : 4) : 2 * i + (d > 0 ? 1 : 0);
        h.material = h.face == 4   ? s_.floor_mat
                     : h.face == 5 ? s_.ceiling_mat
                                   : s_.wall_mat[h.face];
      }
    }
    for (const Group& g : s_.groups) {
      if (!HitsBounds(r, g.lo, g.hi, h.t))
        continue;
      for (int i = g.first; i < g.last; ++i) {
        if (Intersect(s_.shapes[i], r, &h))
          h.material = s_.shapes[i].material;
      }
    }
    return h;
  }

  // True when something casts a shadow between r.o and r.o + r.d.
  bool Occluded(const Ray& r) const {
    for (const Group& g : s_.groups) {
      if (!HitsBounds(r, g.lo, g.hi, 1.0))
        continue;
      for (int i = g.first; i < g.last; ++i) {
        const Shape& sh = s_.shapes[i];
        if (!sh.casts_shadow)
          continue;
        Hit h;
        h.t = 1.0 - 1e-4;
        if (Intersect(sh, r, &h))
          return true;
      }
    }
    return false;
  }

  Vec3 Trace(const Ray& r, int sample, int samples, int depth) const;

 private:
  struct Surface {
    Vec3 albedo, emit;
    double reflect = 0, gloss = 0;
  };
  Surface Evaluate(const Material& m, const Hit& h, const Vec3& p, const Vec3& dir) const;
  double CornerShade(const Hit& h, const Vec3& p) const;

  const Scene& s_;
};

// Face coordinates in [0,1]: u runs to the right of a viewer facing the
// face's local +y side, v runs up.
void FaceUV(const Hit& h, double* u, double* v) {
  const Vec3& l = h.local;
  switch (h.axis) {
    case 0:
      *u = l.y;
      *v = l.z;
      break;
    case 2:
      *u = l.x;
      *v = l.y;
      break;
    default:
      *u = l.x;
      *v = l.z;
  }
  *u = Clamp01((*u + 1) / 2);
  *v = Clamp01((*v + 1) / 2);
}

// In-plane coordinates of a world point for tiling patterns.
void PlaneXY(const Vec3& n, const Vec3& p, double* a, double* b) {
  if (std::fabs(n.z) > 0.5) {
    *a = p.x;
    *b = p.y;
  } else if (std::fabs(n.x) > std::fabs(n.y)) {
    *a = p.y;
    *b = p.z;
  } else {
    *a = p.x;
    *b = p.z;
  }
}

Vec3 OutsideView(const Vec3& dir, bool night) {
  double horiz = std::sqrt(dir.x * dir.x + dir.y * dir.y);
  double e = dir.z / std::max(horiz, 1e-9);
  double az = std::atan2(dir.y, dir.x);
  double hill = 0.02 + 0.035 * std::sin(3 * az + 0.7) + 0.015 * std::sin(7 * az);
  if (night) {
    double sky = Smooth(-0.05, 0.5, e);
    Vec3 low = Srgb(0xF0A060), high = Srgb(0x28305C);
    Vec3 c = Mix(low, high, std::sqrt(sky));
    // Low skyline of dark blocks, a few lit windows as flat rectangles.
    double block = Fract(az * 6.0);
    int bi = static_cast<int>(std::floor(az * 6.0)) + 100;
    double top = 0.02 + 0.06 * Hash(bi);
    if (e < top) {
      c = Srgb(0x1C2030);
      double wx = Fract(block * 5), wy = Fract(e * 40);
      if (Hash(bi, static_cast<int>(std::floor(e * 40)) + 50) > 0.6 && wx > 0.3 && wx < 0.7 &&
          wy > 0.3 && wy < 0.7 && e < top - 0.01)
        c = Srgb(0xE8C070);
    }
    return c * 1.2;
  }
  if (e > hill) {
    double t = Smooth(0, 0.35, e);
    return Mix(Srgb(0xDCEAF6), Srgb(0x5C98D4), t) * 1.2;
  }
  if (e > -0.06)
    return Mix(Srgb(0x5E8C58), Srgb(0x7CA46C), Smooth(hill - 0.05, hill, e)) * 1.3;
  return Srgb(0x88B070) * 1.3;
}

Tracer::Surface Tracer::Evaluate(const Material& m, const Hit& h, const Vec3& p,
                                 const Vec3& dir) const {
  Surface s;
  s.albedo = m.color;
  s.emit = m.emit;
  s.reflect = m.reflect;
  s.gloss = m.gloss;
  double u, v;
  switch (m.pattern) {
    case Pattern::kSolid:
      break;
    case Pattern::kBoards: {
      double w = m.scale;
      int k = static_cast<int>(std::floor(p.y / w));
      double f = Fract(p.y / w);
      double seam = Smooth(0.0, 0.06, f) * Smooth(1.0, 0.94, f);
      s.albedo = Mix(m.color, m.color2, 0.35 * Hash(k, 7));
      s.albedo = Mix(m.color2 * 0.7, s.albedo, 0.4 + 0.6 * seam);
      break;
    }
    case Pattern::kTiles: {
      double a, b;
      PlaneXY(h.normal, p, &a, &b);
      double fa = Fract(a / m.scale), fb = Fract(b / m.scale);
      double g = 0.025;
      bool grout = fa < g || fa > 1 - g || fb < g || fb > 1 - g;
      if (grout)
        s.albedo = m.color2;
      break;
    }
    case Pattern::kWindowView:
    case Pattern::kNightView:
      s.albedo = Vec3();
      s.emit = OutsideView(dir, m.pattern == Pattern::kNightView);
      break;
    case Pattern::kScreen: {
      FaceUV(h, &u, &v);
      Vec3 c = Srgb(0x2A5CA8);
      if (v > 0.78)
        c = Srgb(0xF0F4FA);
      double heights[5] = {0.35, 0.5, 0.42, 0.62, 0.7};
      for (int i = 0; i < 5; ++i) {
        double x0 = 0.14 + i * 0.15;
        if (u > x0 && u < x0 + 0.09 && v > 0.12 && v < 0.12 + heights[i])
          c = i == 4 ? Srgb(0xF8C040) : Srgb(0xD8E4F4);
      }
      s.albedo = Vec3();
      s.emit = c * 0.95;
      break;
    }
    case Pattern::kWhiteboard: {
      FaceUV(h, &u, &v);
      double x = u * 2.2, y = v * 1.2;
      // A hand drawn diagram: a box, an arrow and a wavy line.
      auto near = [&](double d) { return d < 0.018; };
      bool ink = false;
      if (x > 0.25 && x < 0.75 && (near(std::fabs(y - 0.95)) || near(std::fabs(y - 0.7))))
        ink = true;
      if (y > 0.7 && y < 0.95 && (near(std::fabs(x - 0.25)) || near(std::fabs(x - 0.75))))
        ink = true;
      if (x > 0.85 && x < 1.35 && near(std::fabs(y - 0.82)))
        ink = true;
      if (x > 1.45 && x < 1.95 && near(std::fabs(y - 0.82 - 0.08 * std::sin((x - 1.45) * 18))))
        ink = true;
      if (x > 0.3 && x < 1.9 && near(std::fabs(y - 0.35 - 0.1 * std::sin(x * 5))))
        ink = true;
      if (ink)
        s.albedo = y > 0.5 ? m.color2 : Srgb(0xC03030);
      break;
    }
    case Pattern::kPainting: {
      FaceUV(h, &u, &v);
      Vec3 sky = Mix(Srgb(0xF4E0B8), m.color2, Smooth(0.45, 1.0, v));
      double ridge = 0.42 + 0.12 * std::sin(u * 5 + m.scale) + 0.05 * std::sin(u * 13);
      Vec3 c = sky;
      double sun = std::hypot(u - 0.7, (v - 0.72) * 0.8);
      if (sun < 0.1)
        c = Srgb(0xF8F0D0);
      if (v < ridge)
        c = m.color;
      if (v < 0.22)
        c = m.color * 0.6;
      s.albedo = c;
      break;
    }
    case Pattern::kCubbies: {
      FaceUV(h, &u, &v);
      double cu = u * 8, cv = v * 5;
      int iu = static_cast<int>(cu), iv = static_cast<int>(cv);
      double fu = Fract(cu), fv = Fract(cv);
      if (fu > 0.12 && fu < 0.88 && fv > 0.12 && fv < 0.88) {
        s.albedo = m.color2;
        if (Hash(iu, iv) > 0.35 && fu > 0.4 && fu < 0.6 && fv > 0.25 && fv < 0.65)
          s.albedo = Hash(iu + 9, iv) > 0.5 ? Srgb(0xD8B040) : Srgb(0xB84030);
      }
      break;
    }
    case Pattern::kWater: {
      double w = 0.5 + 0.5 * std::sin(p.x * 2.1 + 1.3 * std::sin(p.y * 1.7)) *
                           std::sin(p.y * 2.6 + 0.8 * std::sin(p.x * 1.3));
      s.albedo = Mix(m.color, m.color2, 0.35 * w);
      double lane = Fract(p.y / m.scale);
      if (std::fabs(lane - 0.5) < 0.035)
        s.albedo = s.albedo * 0.55;
      break;
    }
    case Pattern::kStripes: {
      double a, b;
      PlaneXY(h.normal, p, &a, &b);
      double f = Fract(a / m.scale);
      s.albedo = Mix(m.color, m.color2, Smooth(0.46, 0.5, f) * Smooth(0.96, 0.92, f));
      break;
    }
    case Pattern::kCarpet: {
      double fa = Fract(p.x / m.scale) - 0.5, fb = Fract(p.y / m.scale) - 0.5;
      double d = std::fabs(fa) + std::fabs(fb);
      s.albedo = Mix(m.color, m.color2, Smooth(0.3, 0.26, d));
      break;
    }
    case Pattern::kFire: {
      FaceUV(h, &u, &v);
      double flame = 0.25 + 0.25 * std::pow(std::fabs(std::sin(u * 9.4)), 0.6) *
                                Smooth(0.0, 0.3, u) * Smooth(1.0, 0.7, u);
      double glow = Smooth(flame + 0.1, flame - 0.15, v);
      s.albedo = Vec3();
      s.emit = Mix(Srgb(0x140A06),
                   Mix(Srgb(0xE05010), Srgb(0xFFD060), Smooth(flame - 0.05, -0.05, v)), glow) *
               2.5;
      break;
    }
  }
  return s;
}

// Soft darkening where walls meet the floor and ceiling: the few-pixel
// gradients read as room corners and cost almost nothing to compress.
double Tracer::CornerShade(const Hit& h, const Vec3& p) const {
  if (h.face < 0)
    return 1;
  double d = kFar;
  int own = h.face < 4 ? h.face / 2 : 2;
  for (int i = 0; i < 3; ++i) {
    if (i == own)
      continue;
    d = std::min(d, std::min(p[i] - s_.room_lo[i], s_.room_hi[i] - p[i]));
  }
  return 1 - 0.35 * std::exp(-d / 0.35);
}

Vec3 Tracer::Trace(const Ray& r, int sample, int samples, int depth) const {
  Hit h = Closest(r);
  if (h.material < 0)
    return Vec3();
  const Material& m = s_.materials[h.material];
  Vec3 p = r.o + r.d * h.t;
  Vec3 dir = Normalize(r.d);
  Surface sf = Evaluate(m, h, p, dir);
  Vec3 n = h.normal;
  if (Dot(n, dir) > 0)
    n = n * -1;
  Vec3 c = sf.emit;
  if (sf.albedo.x + sf.albedo.y + sf.albedo.z > 0) {
    // Bounce light reaches ceilings too: only a mild up/down difference.
    double hemi = 0.8 + 0.2 * n.z;
    Vec3 lit = s_.ambient * (hemi * CornerShade(h, p));
    // Fixed sample positions on each light's disc (golden-angle spiral):
    // identical for every pixel, so penumbrae are smooth, not noisy.
    double rr = std::sqrt((sample + 0.5) / samples);
    double ang = sample * 2.399963;
    Vec3 jitter(rr * std::cos(ang), rr * std::sin(ang), 0);
    Vec3 po = p + n * 1e-4;
    for (const Light& L : s_.lights) {
      Vec3 lp = L.pos + jitter * L.radius;
      Vec3 l = lp - po;
      double dist = Length(l);
      Vec3 ln = l * (1 / dist);
      double ndl = Dot(n, ln);
      if (ndl <= 0)
        continue;
      double att = 1 / (1 + (dist / L.range) * (dist / L.range));
      if (L.shadows && Occluded(Ray{po, l}))
        continue;
      lit += L.color * (ndl * att);
      if (sf.gloss > 0) {
        Vec3 hv = Normalize(ln - dir);
        double sp = std::pow(std::max(0.0, Dot(n, hv)), 30);
        c += L.color * (sf.gloss * sp * att);
      }
    }
    c += sf.albedo * lit;
  }
  if (sf.reflect > 0 && depth < 2) {
    Vec3 rd = dir - n * (2 * Dot(dir, n));
    Vec3 rc = Trace(Ray{p + n * 1e-4, rd}, sample, samples, depth + 1);
    c = c * (1 - sf.reflect) + rc * sf.reflect;
  }
  return c;
}

double ToneMap(double v) {
  if (v > 0.75)
    v = 0.75 + 0.25 * (1 - std::exp(-(v - 0.75) / 0.25));
  return std::pow(Clamp01(v), 1 / 2.2);
}

}  // namespace

Vec3 Srgb(uint32_t hex) {
  auto lin = [](uint32_t c) { return std::pow(c / 255.0, 2.2); };
  return {lin((hex >> 16) & 255), lin((hex >> 8) & 255), lin(hex & 255)};
}

int Builder::Mat(const Material& m) {
  s_->materials.push_back(m);
  return static_cast<int>(s_->materials.size()) - 1;
}

int Builder::Flat(uint32_t hex, double gloss) {
  Material m;
  m.color = Srgb(hex);
  m.gloss = gloss;
  return Mat(m);
}

void Builder::Push(double x, double y, double angle_deg) {
  const Frame& f = stack_.back();
  double a = angle_deg * kPi / 180;
  double c = std::cos(a), s = std::sin(a);
  stack_.push_back(
      {f.ox + x * f.c - y * f.s, f.oy + x * f.s + y * f.c, f.c * c - f.s * s, f.s * c + f.c * s});
}

void Builder::Pop() {
  stack_.pop_back();
}

void Builder::PushWall(int w) {
  const Vec3& lo = s_->room_lo;
  const Vec3& hi = s_->room_hi;
  double mx = (lo.x + hi.x) / 2, my = (lo.y + hi.y) / 2;
  // Local +y must point into the room; local x = rotate(+y, -90 deg).
  switch (w) {
    case 0:
      Push(lo.x, my, -90);
      break;
    case 1:
      Push(hi.x, my, 90);
      break;
    case 2:
      Push(mx, lo.y, 0);
      break;
    default:
      Push(mx, hi.y, 180);
      break;
  }
}

Vec3 Builder::ToWorld(double x, double y, double z) const {
  const Frame& f = stack_.back();
  return {f.ox + x * f.c - y * f.s, f.oy + x * f.s + y * f.c, z};
}

void Builder::Add(Shape sh, double tilt_deg) {
  const Frame& f = stack_.back();
  Vec3 ex(f.c, f.s, 0), ey(-f.s, f.c, 0), ez(0, 0, 1);
  double t = tilt_deg * kPi / 180, ct = std::cos(t), st = std::sin(t);
  Vec3 ey2 = ey * ct + ez * st, ez2 = ey * -st + ez * ct;
  // Compose the frame rotation with the shape's own (local) axes.
  Vec3 axes[3] = {ex, ey2, ez2};
  Vec3 r[3];
  for (int i = 0; i < 3; ++i)
    r[i] = axes[0] * sh.rot[i].x + axes[1] * sh.rot[i].y + axes[2] * sh.rot[i].z;
  for (int i = 0; i < 3; ++i)
    sh.rot[i] = r[i];
  sh.casts_shadow = shadows_;
  if (group_start_ < 0)
    BeginGroup();
  s_->shapes.push_back(sh);
}

void Builder::Box(int mat, double x0, double y0, double z0, double x1, double y1, double z1,
                  double tilt_deg) {
  Shape sh;
  sh.kind = Kind::kBox;
  sh.center = ToWorld((x0 + x1) / 2, (y0 + y1) / 2, (z0 + z1) / 2);
  sh.half = Vec3(std::fabs(x1 - x0) / 2, std::fabs(y1 - y0) / 2, std::fabs(z1 - z0) / 2);
  sh.material = mat;
  Add(sh, tilt_deg);
}

void Builder::Cyl(int mat, double x, double y, double z0, double z1, double r) {
  Shape sh;
  sh.kind = Kind::kCylinder;
  sh.center = ToWorld(x, y, (z0 + z1) / 2);
  sh.half = Vec3(r, r, std::fabs(z1 - z0) / 2);
  sh.material = mat;
  Add(sh, 0);
}

void Builder::CylH(int mat, int axis, double x, double y, double z, double half_len, double r) {
  Shape sh;
  sh.kind = Kind::kCylinder;
  sh.center = ToWorld(x, y, z);
  sh.half = Vec3(r, r, half_len);
  // Unit axes in the frame: the cylinder's own z runs along local x or y.
  if (axis == 0) {
    sh.rot[0] = Vec3(0, 1, 0);
    sh.rot[1] = Vec3(0, 0, 1);
    sh.rot[2] = Vec3(1, 0, 0);
  } else {
    sh.rot[0] = Vec3(1, 0, 0);
    sh.rot[1] = Vec3(0, 0, 1);
    sh.rot[2] = Vec3(0, 1, 0);
  }
  sh.material = mat;
  Add(sh, 0);
}

void Builder::Ellipsoid(int mat, double x, double y, double z, double rx, double ry, double rz) {
  Shape sh;
  sh.kind = Kind::kSphere;
  sh.center = ToWorld(x, y, z);
  sh.half = Vec3(rx, ry, rz);
  sh.material = mat;
  Add(sh, 0);
}

void Builder::AddLight(double x, double y, double z, const Vec3& color, double range, double radius,
                       bool shadows) {
  Light l;
  l.pos = ToWorld(x, y, z);
  l.color = color;
  l.range = range;
  l.radius = radius;
  l.shadows = shadows;
  s_->lights.push_back(l);
}

void Builder::BeginGroup() {
  if (group_start_ >= 0)
    EndGroup();
  group_start_ = static_cast<int>(s_->shapes.size());
}

void Builder::EndGroup() {
  if (group_start_ < 0)
    return;
  Group g;
  g.first = group_start_;
  g.last = static_cast<int>(s_->shapes.size());
  group_start_ = -1;
  if (g.first == g.last)
    return;
  g.lo = Vec3(kFar, kFar, kFar);
  g.hi = Vec3(-kFar, -kFar, -kFar);
  for (int i = g.first; i < g.last; ++i) {
    Shape& sh = s_->shapes[i];
    // Emissive shapes (lamp shades, bulbs) would block their own light.
    const Material& m = s_->materials[sh.material];
    if (m.emit.x + m.emit.y + m.emit.z > 0 || m.pattern == Pattern::kFire)
      sh.casts_shadow = false;
    for (int a = 0; a < 3; ++a) {
      double ext = 0;
      for (int k = 0; k < 3; ++k)
        ext += std::fabs(sh.rot[k][a]) * sh.half[k];
      g.lo[a] = std::min(g.lo[a], sh.center[a] - ext);
      g.hi[a] = std::max(g.hi[a], sh.center[a] + ext);
    }
  }
  for (int a = 0; a < 3; ++a) {
    g.lo[a] -= 1e-3;
    g.hi[a] += 1e-3;
  }
  s_->groups.push_back(g);
}

std::vector<uint8_t> RenderStrip(const Scene& scene, int width, int height, int ss) {
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 3);
  // Every shape must sit in a closed group or the culling would skip it.
  size_t covered = 0;
  for (const Group& g : scene.groups)
    covered += g.last - g.first;
  if (covered != scene.shapes.size()) {
    std::fprintf(stderr, "artwork: %zu shapes outside groups\n", scene.shapes.size() - covered);
    std::exit(1);
  }
  Tracer tracer(scene);
  const double rc = width / (2 * kPi);
  const Vec3 eye(scene.eye_xy.x, scene.eye_xy.y, scene.eye_height);
  const double yaw = scene.yaw_deg * kPi / 180;
  auto render_rows = [&](int first, int step) {
    for (int y = first; y < height; y += step) {
      for (int c = 0; c < width; ++c) {
        Vec3 sum;
        int k = 0;
        for (int j = 0; j < ss; ++j) {
          double tz = (height / 2.0 - (y + (j + 0.5) / ss)) / rc;
          for (int i = 0; i < ss; ++i, ++k) {
            // Azimuth depends only on (c + fraction), which is periodic in
            // the width: column width-1 meets column 0 like any other pair.
            double th = yaw + 2 * kPi * (c + (i + 0.5) / ss) / width;
            Ray r{eye, Vec3(std::cos(th), std::sin(th), tz)};
            sum += tracer.Trace(r, k, ss * ss, 0);
          }
        }
        sum = sum * (scene.exposure / (ss * ss));
        uint8_t* px = &out[(static_cast<size_t>(y) * width + c) * 3];
        for (int a = 0; a < 3; ++a)
          px[a] = static_cast<uint8_t>(std::lround(ToneMap(sum[a]) * 255));
      }
    }
  };
  unsigned n = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < n; ++t)
    pool.emplace_back(render_rows, static_cast<int>(t), static_cast<int>(n));
  for (auto& th : pool)
    th.join();
  return out;
}

}  // namespace artwork
