// Small deterministic ray caster for the tour's cylindrical scene strips.
//
// World frame: metres, z up, floor at z = 0. The strip's column c looks along
// azimuth theta = 2*pi*(c + 0.5) / width, direction (cos theta, sin theta), so
// the frame is chosen such that, seen from above, +y lies 90 degrees to the
// viewer's RIGHT of +x (panning right increases theta). Scene descriptions
// are written in this frame; nothing else depends on handedness.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace artwork {

struct Vec3 {
  double x = 0, y = 0, z = 0;
  Vec3() = default;
  Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  Vec3 operator*(const Vec3& o) const { return {x * o.x, y * o.y, z * o.z}; }
  Vec3 operator/(const Vec3& o) const { return {x / o.x, y / o.y, z / o.z}; }
  Vec3& operator+=(const Vec3& o) {
    x += o.x;
    y += o.y;
    z += o.z;
    return *this;
  }
  double operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
  double& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
};

inline double Dot(const Vec3& a, const Vec3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double Length(const Vec3& a) {
  return std::sqrt(Dot(a, a));
}
inline Vec3 Normalize(const Vec3& a) {
  return a * (1.0 / Length(a));
}
inline Vec3 Mix(const Vec3& a, const Vec3& b, double t) {
  return a * (1.0 - t) + b * t;
}

// sRGB 0xRRGGBB to linear light.
Vec3 Srgb(uint32_t hex);

// Surface decorations evaluated at the hit point. Every pattern is smooth or
// made of few large flat areas: fine noise would cost JPEG bytes.
enum class Pattern {
  kSolid,
  kBoards,      // floorboards along world x, plank tone alternates
  kTiles,       // square tiles in the plane of the face, thin grout lines
  kWindowView,  // emissive view outside: sky, hills, lawn (from ray dir)
  kNightView,   // emissive evening view: dusk gradient and skyline
  kScreen,      // emissive slide with a bar chart
  kWhiteboard,  // white board with a few marker strokes
  kPainting,    // abstract landscape picture, hue from color2
  kCubbies,     // key pigeonholes: dark holes with a few key tags
  kWater,       // pool water: soft ripples, lane lines
  kStripes,     // vertical wallpaper stripes in color/color2
  kCarpet,      // large soft diamond pattern
  kFire,        // glowing fire in a fireplace opening
};

struct Material {
  Vec3 color{0.5, 0.5, 0.5};   // linear albedo
  Vec3 color2{0.3, 0.3, 0.3};  // second pattern colour
  Vec3 emit{0, 0, 0};          // added unlit radiance
  double reflect = 0;          // mirror share (0 = matte)
  double gloss = 0;            // strength of a soft specular highlight
  double scale = 1;            // pattern period in metres
  Pattern pattern = Pattern::kSolid;
};

enum class Kind { kBox, kCylinder, kSphere };

// A unit primitive ([-1,1]^3 box, z-axis cylinder of radius 1 and half
// height 1, or unit sphere) scaled by `half`, rotated by `rot` (columns are
// the local axes in world space) and moved to `center`.
struct Shape {
  Kind kind = Kind::kBox;
  Vec3 center;
  Vec3 half{1, 1, 1};
  Vec3 rot[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  int material = 0;
  bool casts_shadow = true;
};

struct Light {
  Vec3 pos;
  Vec3 color;         // linear intensity at distance 0
  double radius = 0;  // disc radius for soft shadows
  double range = 3;   // distance at which intensity has halved
  bool shadows = true;
};

struct Group {
  Vec3 lo, hi;  // world bounding box of shapes [first, last)
  int first = 0, last = 0;
};

struct Scene {
  Vec3 room_lo, room_hi;  // interior of the room shell
  int floor_mat = 0, ceiling_mat = 0;
  int wall_mat[4] = {0, 0, 0, 0};  // x-, x+, y-, y+
  double eye_height = 1.5;
  Vec3 eye_xy;  // camera position on the floor plan (z ignored)
  // Azimuth of column 0's left edge. The viewer opens centred near column
  // 140, so each room is turned to put its main feature there, with the
  // wrap (inside that first view) on calm wall, floor and ceiling: an edge
  // across it would only show JPEG ringing.
  double yaw_deg = 0;
  Vec3 ambient{0.1, 0.1, 0.1};
  double exposure = 1.0;
  std::vector<Material> materials;
  std::vector<Shape> shapes;
  std::vector<Group> groups;
  std::vector<Light> lights;
};

// Builds a scene with a local frame (origin on the floor plan + rotation
// about z) so furniture helpers can be written in their own coordinates.
class Builder {
 public:
  explicit Builder(Scene* scene) : s_(scene) {}
  const Scene& scene() const { return *s_; }

  int Mat(const Material& m);
  int Flat(uint32_t hex, double gloss = 0);

  void Push(double x, double y, double angle_deg);
  void Pop();

  // Shapes in the current frame. `tilt_deg` rotates about the local x axis.
  void Box(int mat, double x0, double y0, double z0, double x1, double y1, double z1,
           double tilt_deg = 0);
  void Cyl(int mat, double x, double y, double z0, double z1, double r);
  // Horizontal cylinder along the local x (axis 0) or y (axis 1) direction.
  void CylH(int mat, int axis, double x, double y, double z, double half_len, double r);
  void Ellipsoid(int mat, double x, double y, double z, double rx, double ry, double rz);
  void Sphere(int mat, double x, double y, double z, double r) { Ellipsoid(mat, x, y, z, r, r, r); }
  void AddLight(double x, double y, double z, const Vec3& color, double range, double radius = 0.1,
                bool shadows = true);

  // Shapes added while off cast no shadows (light fittings hanging right
  // above their own lamp would streak the ceiling).
  void SetShadows(bool on) { shadows_ = on; }

  // Every shape must belong to a group; groups are culled as a whole.
  void BeginGroup();
  void EndGroup();

  // Frame on the inside of wall w (0: x-, 1: x+, 2: y-, 3: y+): local origin
  // at the wall's midpoint on the floor, local +y pointing into the room and
  // local +x to the right of a viewer facing the wall.
  void PushWall(int w);

 private:
  struct Frame {
    double ox, oy, c, s;
  };
  Vec3 ToWorld(double x, double y, double z) const;
  void Add(Shape shape, double extra_tilt_deg);

  Scene* s_;
  std::vector<Frame> stack_{{0, 0, 1, 0}};
  int group_start_ = -1;
  bool shadows_ = true;
};

// Renders the scene as a width x height cylindrical strip, 8-bit RGB,
// supersampled ss x ss per pixel. Columns wrap: the strip is seamless.
std::vector<uint8_t> RenderStrip(const Scene& scene, int width, int height, int ss);

}  // namespace artwork
