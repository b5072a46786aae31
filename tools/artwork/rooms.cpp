// Room descriptions. Each room is a box shell with fittings and furniture
// placed 2.5 m or more from the camera where possible: the strip only
// covers about +-27 degrees of elevation, so nearer objects lose their
// lower part. Colours are flat and lighting soft; detail comes from
// geometry and perspective rather than texture (texture costs bytes).
#include "rooms.h"

#include <cmath>
#include <vector>

#include "furniture.h"

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;

Scene Shell(double x0, double y0, double x1, double y1, double height, double eye) {
  Scene s;
  s.room_lo = Vec3(x0, y0, 0);
  s.room_hi = Vec3(x1, y1, height);
  s.eye_height = eye;
  return s;
}

void SetWalls(Scene* s, int all) {
  for (int& w : s->wall_mat)
    w = all;
}

// ---------------------------------------------------------------- 0
Scene FrontDesk() {
  Scene s = Shell(-6, -5, 6, 5, 3.4, 1.45);
  s.yaw_deg = -52.5;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kTiles, 0xE2D8C4, 0xB4A88E, 0.8));
  s.ceiling_mat = b.Flat(0xF4F0E8);
  SetWalls(&s, b.Flat(0xD9C9A6));
  s.wall_mat[1] = b.Mat(Patterned(Pattern::kStripes, 0x8C5C36, 0x7A4C2A, 0.6));
  s.ambient = Srgb(0x6A665E);

  int wood = b.Flat(0x6E3F22);
  int marble = b.Flat(0xEAE2D2, 0.4);
  int dark = b.Flat(0x1E2226, 0.3);
  int brass = b.Flat(0xC8A050, 0.6);
  int stone = b.Flat(0xE6DED0);
  int metal = b.Flat(0x9EA4AA, 0.5);
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0x4A4A4C);
  int leaf = b.Flat(0x2E6A30), leaf2 = b.Flat(0x4A8A3C), pot = b.Flat(0x8A5A3A);

  // Reception counter with a light stone top, two screens and a bell.
  b.BeginGroup();
  b.Box(wood, 2.9, -2.4, 0, 3.6, 2.4, 1.05);
  b.Box(b.Flat(0x9A6438), 2.88, -2.2, 0.15, 2.9, 2.2, 0.9);
  b.Box(marble, 2.78, -2.5, 1.05, 3.7, 2.5, 1.11);
  b.EndGroup();
  b.BeginGroup();
  for (double y : {-1.0, 1.0}) {
    b.Box(dark, 3.45, y - 0.28, 1.18, 3.5, y + 0.28, 1.5);
    b.Box(dark, 3.46, y - 0.04, 1.11, 3.5, y + 0.04, 1.18);
  }
  b.Sphere(brass, 2.95, 0.2, 1.11, 0.05);
  b.Box(b.Flat(0xF4F2EE), 2.9, -0.5, 1.11, 3.2, -0.2, 1.13);  // register
  b.EndGroup();
  // Back wall: key pigeonholes under three world-time clocks.
  b.PushWall(1);
  b.BeginGroup();
  b.Box(b.Flat(0x5A3418), -1.35, -0.01, 1.2, 1.35, 0.1, 2.4);
  b.Box(b.Mat(Patterned(Pattern::kCubbies, 0xB27C4A, 0x2E1E12)), -1.25, -0.01, 1.28, 1.25, 0.12,
        2.32);
  for (double u : {-0.9, 0.0, 0.9}) {
    b.CylH(brass, 1, u, 0.02, 2.85, 0.03, 0.24);
    b.CylH(b.Flat(0xF6F2E6), 1, u, 0.04, 2.85, 0.03, 0.2);
    b.Box(dark, u - 0.012, 0.07, 2.85, u + 0.012, 0.08, 3.02);
    b.Box(dark, u, 0.075, 2.84, u + 0.11 + 0.04 * u, 0.085, 2.86);
  }
  b.EndGroup();
  b.Pop();
  // Entrance: glass doors on the x- wall, windows on y-, lifts on y+.
  Window(b, 0, 0, 2.2, 0.02, 2.5, frame, glass, 1.2);
  for (double u : {-3.2, 3.2})
    Window(b, 2, u, 2.0, 0.8, 2.7, frame, glass);
  b.PushWall(3);
  b.BeginGroup();
  for (double u : {-1.6, -4.1}) {
    b.Box(b.Flat(0x8C9094), u - 0.7, -0.01, 0, u + 0.7, 0.05, 2.45);
    b.Box(metal, u - 0.55, -0.01, 0, u + 0.55, 0.06, 2.3);
    b.Box(dark, u - 0.006, 0.0, 0, u + 0.006, 0.065, 2.3);
    b.Box(b.Flat(0xF0E0A0), u + 0.8, -0.01, 1.1, u + 0.9, 0.03, 1.3);
  }
  b.EndGroup();
  b.Pop();
  Picture(b, 3, 2.5, 1.8, 1.8, 0.9, brass,
          b.Mat(Patterned(Pattern::kPainting, 0x5A7A4A, 0x7AA0C8, 1.0)));
  // Waiting area: sofa, armchairs and coffee table on a rug.
  int blue = b.Flat(0x34506C), blue2 = b.Flat(0x46668A);
  Rug(b, -4.4, 1.3, -0.8, 4.6, b.Mat(Patterned(Pattern::kCarpet, 0x8A3A30, 0xA85C40, 0.9)));
  Sofa(b, -2.6, 4.3, 0, 2.2, blue, blue2);
  Sofa(b, -4.3, 2.4, FacingAngle(-4.3, 2.4, -2.6, 2.6), 0.95, blue, blue2);
  Sofa(b, -0.9, 2.4, FacingAngle(-0.9, 2.4, -2.6, 2.6), 0.95, blue, blue2);
  Table(b, -2.6, 2.7, 0, 1.2, 0.6, 0.42, wood, wood);
  // Columns and plants give depth cues when panning.
  b.BeginGroup();
  b.Cyl(stone, -0.4, -3.2, 0, 3.4, 0.26);
  b.Cyl(stone, 1.4, 3.4, 0, 3.4, 0.26);
  b.EndGroup();
  Plant(b, -5.4, -4.4, 1.6, pot, leaf, leaf2);
  Plant(b, 5.4, -4.4, 1.7, pot, leaf, leaf2);
  Plant(b, -5.4, 4.4, 1.5, pot, leaf, leaf2);
  int glow = b.Mat(Emissive(0xFFF4E0, 1.4));
  Vec3 warm = Srgb(0xFFF0D8) * 0.8;
  for (double x : {-3.0, 3.0})
    for (double y : {-2.5, 2.5})
      CeilingPanel(b, x, y, 3.4, 0.5, 0.5, glow, warm, 3.5);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 1
Scene ConferenceRoom() {
  Scene s = Shell(-5, -3.8, 5.6, 3.8, 2.9, 1.4);
  s.yaw_deg = -53.1;
  Builder b(&s);
  s.floor_mat = b.Flat(0x5C6676);
  s.ceiling_mat = b.Flat(0xF2F2F0);
  SetWalls(&s, b.Flat(0xE4E0D8));
  s.wall_mat[1] = b.Flat(0x4A5A6E);
  s.ambient = Srgb(0x70706C);

  int top = b.Flat(0x6A4430, 0.25);
  int chrome = b.Flat(0xA8ACB0, 0.5);
  int seat = b.Flat(0x26282C), seat2 = b.Flat(0x3A3E44);
  int frame = b.Flat(0xB8BCC0);
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  // Long table seen from its head, chairs on both sides.
  Table(b, 2.9, 0, 0, 3.8, 1.5, 0.75, top, chrome);
  for (double x : {1.6, 2.5, 3.4, 4.3}) {
    Chair(b, x, -1.05, FacingAngle(x, -1.05, x, 0), seat, chrome);
    Chair(b, x, 1.05, FacingAngle(x, 1.05, x, 0), seat, chrome);
  }
  Chair(b, 5.1, 0, FacingAngle(5.1, 0, 4, 0), seat, chrome);
  b.BeginGroup();
  b.Cyl(seat2, 2.9, 0, 0.75, 0.79, 0.13);
  for (double x : {1.6, 2.5, 3.4, 4.3})
    for (double y : {-0.45, 0.45})
      b.Box(b.Flat(0xF6F6F4), x - 0.15, y - 0.11, 0.75, x + 0.15, y + 0.11, 0.755);
  b.EndGroup();
  // Projection screen on the far wall, whiteboard behind the camera.
  b.PushWall(1);
  b.BeginGroup();
  b.Box(seat, -1.25, -0.01, 0.95, 1.25, 0.05, 2.35);
  b.Box(b.Mat(Patterned(Pattern::kScreen, 0, 0)), -1.18, -0.01, 1.02, 1.18, 0.06, 2.28);
  b.EndGroup();
  b.Pop();
  b.PushWall(0);
  b.BeginGroup();
  b.Box(frame, -1.3, -0.01, 0.85, 1.3, 0.04, 2.15);
  b.Box(b.Mat(Patterned(Pattern::kWhiteboard, 0xF6F8FA, 0x2A4CA0)), -1.25, -0.01, 0.9, 1.25, 0.05,
        2.1);
  b.Box(frame, -1.0, -0.01, 0.8, 1.0, 0.12, 0.85);
  b.EndGroup();
  b.Pop();
  for (double u : {-3.0, 0.0, 3.0})
    Window(b, 2, u, 1.6, 0.9, 2.4, frame, glass);
  // Credenza with thermos jugs, a painting and the door on y+.
  b.BeginGroup();
  b.Box(top, -3.6, 3.3, 0, -1.2, 3.8, 0.85);
  for (double x : {-3.2, -2.9})
    b.Cyl(chrome, x, 3.55, 0.85, 1.15, 0.08);
  b.Cyl(b.Flat(0xF4F4F4), -2.4, 3.55, 0.85, 0.93, 0.12);
  b.EndGroup();
  Picture(b, 3, 2.4, 1.7, 1.4, 0.8, seat,
          b.Mat(Patterned(Pattern::kPainting, 0x3A6A8A, 0xE0B070, 2.0)));
  Door(b, 3, -3.6, 0.95, 2.1, b.Flat(0x9A7050), b.Flat(0xD8D4CC));
  int pot = b.Flat(0xE8E8E4), leaf = b.Flat(0x2E6A30), leaf2 = b.Flat(0x4A8A3C);
  Plant(b, -4.5, -3.3, 1.5, pot, leaf, leaf2);
  Plant(b, 5.1, 3.3, 1.6, pot, leaf, leaf2);
  int glow = b.Mat(Emissive(0xF4F8FF, 1.5));
  Vec3 cool = Srgb(0xF4F8FF) * 0.75;
  for (double x : {-2.6, 1.6, 4.2})
    for (double y : {-1.4, 1.4})
      CeilingPanel(b, x, y, 2.9, 0.6, 1.2, glow, cool, 3.0);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 2
Scene ConferenceRoom2() {
  Scene s = Shell(-4.6, -4, 4.6, 4, 2.8, 1.4);
  s.yaw_deg = -54.0;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kBoards, 0xB48A5E, 0x98724C, 0.2));
  s.ceiling_mat = b.Flat(0xF4F4EE);
  SetWalls(&s, b.Flat(0xB6C8A4));
  s.wall_mat[3] = b.Flat(0xE8E4D8);
  s.ambient = Srgb(0x6E6E66);

  int white = b.Flat(0xECE8E0, 0.3);
  int steel = b.Flat(0x505458);
  int orange = b.Flat(0xD47A2E);
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0xF0F0EC);
  // Round table for six with a large pendant above it.
  RoundTable(b, 2.9, 0, 1.0, 0.74, white, steel);
  for (int k = 0; k < 6; ++k) {
    double a = k * kPi / 3 + kPi / 6;
    double x = 2.9 + 1.42 * std::cos(a), y = 1.42 * std::sin(a);
    Chair(b, x, y, FacingAngle(x, y, 2.9, 0), orange, steel);
  }
  b.Push(2.9, 0, 0);
  b.SetShadows(false);
  b.BeginGroup();
  b.Cyl(steel, 0, 0, 1.95, 2.8, 0.01);
  b.Ellipsoid(b.Mat(Emissive(0xFFE8C0, 1.3)), 0, 0, 1.95, 0.45, 0.45, 0.16);
  b.EndGroup();
  b.SetShadows(true);
  b.AddLight(0, 0, 1.6, Srgb(0xFFECD0) * 1.0, 2.2, 0.3);
  b.Pop();
  // Wall screen above a low cabinet on x+.
  b.PushWall(1);
  b.BeginGroup();
  b.Box(b.Flat(0x18181A), -0.8, -0.01, 1.15, 0.8, 0.06, 2.05);
  b.Box(b.Mat(Patterned(Pattern::kScreen, 0, 0)), -0.76, -0.01, 1.19, 0.76, 0.07, 2.01);
  b.Box(b.Flat(0x7A5A3A), -1.2, -0.01, 0, 1.2, 0.45, 0.6);
  b.EndGroup();
  b.Pop();
  // Bookcase and a sideboard with a picture on y+.
  std::vector<int> covers;
  for (uint32_t c : {0xA83A2E, 0x2E5A8A, 0xD8B040, 0x3A7A4A, 0xE8E0D0, 0x6A3A6A, 0xC86A2A})
    covers.push_back(b.Flat(c));
  Bookcase(b, 3, 2.3, 3.0, 2.1, b.Flat(0x6A4A30), b.Flat(0x4A3220), covers);
  b.BeginGroup();
  b.Box(b.Flat(0x7A5A3A), -0.2, 3.55, 0, 2.4, 4.0, 0.8);
  b.Cyl(b.Flat(0xE8E4DC, 0.4), 0.4, 3.78, 0.8, 1.05, 0.1);
  b.EndGroup();
  Picture(b, 3, -1.1, 1.75, 1.6, 0.9, b.Flat(0x2A2A2A),
          b.Mat(Patterned(Pattern::kPainting, 0x4A6A8A, 0xF0C080, 0.5)));
  // Glass wall on x-, flip chart, plants.
  for (double u : {-1.7, 1.7})
    Window(b, 0, u, 2.4, 0.4, 2.5, frame, glass);
  b.Push(-2.4, -3.2, 200);
  b.SetShadows(false);  // its soft shadow read as a smudge on the wall
  b.BeginGroup();
  for (double x : {-0.3, 0.3})
    b.Box(steel, x - 0.02, -0.02, 0, x + 0.02, 0.02, 1.8, -6);
  b.Box(b.Flat(0xF8F8F6), -0.38, -0.12, 1.0, 0.38, -0.1, 1.85, -6);
  b.Box(b.Flat(0xC83A30), -0.25, -0.13, 1.55, 0.25, -0.125, 1.58, -6);
  b.Box(b.Flat(0x2A5AA8), -0.25, -0.13, 1.4, 0.1, -0.125, 1.43, -6);
  b.EndGroup();
  b.SetShadows(true);
  b.Pop();
  Door(b, 2, 2.8, 0.95, 2.1, b.Flat(0xE8E4DC), b.Flat(0x8A8A84));
  int pot = b.Flat(0x3A3A3A), leaf = b.Flat(0x2E6A30), leaf2 = b.Flat(0x4A8A3C);
  Plant(b, -4.1, 3.0, 1.7, pot, leaf, leaf2);
  Plant(b, 4.1, -3.5, 1.4, pot, leaf, leaf2);
  b.BeginGroup();
  b.Box(b.Mat(Emissive(0xF8F8FF, 1.3)), -2.2, -0.3, 2.78, -1.6, 0.3, 2.81);
  b.EndGroup();
  b.AddLight(-1.9, 0, 2.55, Srgb(0xF8F8FF) * 0.7, 3.0, 0.3);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 3
Scene Suite1() {
  Scene s = Shell(-3.8, -3.8, 3.8, 3.6, 2.7, 1.35);
  s.eye_xy = Vec3(0, -0.9, 0);
  s.yaw_deg = 57.0;
  Builder b(&s);
  s.floor_mat = b.Flat(0xC4B49A);
  s.ceiling_mat = b.Flat(0xF6F0E6);
  SetWalls(&s, b.Flat(0xEADCC2));
  s.wall_mat[3] = b.Flat(0xB48E66);
  s.ambient = Srgb(0x66605A);

  int walnut = b.Flat(0x5A3822);
  int shade = b.Mat(Emissive(0xFFE2B0, 1.3));
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0xF2EEE6);
  Bed(b, 0, 2.47, 0, 1.7, 2.1, walnut, b.Flat(0xF4F0E8), b.Flat(0xA8363A), b.Flat(0xFAF8F2));
  Nightstand(b, -1.25, 3.25, 0, walnut, shade);
  Nightstand(b, 1.25, 3.25, 0, walnut, shade);
  Picture(b, 3, 0, 1.75, 1.3, 0.6, b.Flat(0xC8A050),
          b.Mat(Patterned(Pattern::kPainting, 0x8A6A3A, 0xC0D0E0, 4.0)));
  // Window with curtains on x+.
  Window(b, 1, 0.4, 1.6, 0.8, 2.3, frame, glass, 1.1);
  Curtains(b, 1, 0.4, 1.6, 2.55, b.Flat(0xC8A464));
  // Writing desk with a mirror on y-.
  b.BeginGroup();
  b.Box(walnut, 0.9, -3.8, 0.72, 2.5, -3.25, 0.76);
  b.Box(walnut, 0.9, -3.8, 0, 0.95, -3.25, 0.72);
  b.Box(walnut, 2.45, -3.8, 0, 2.5, -3.25, 0.72);
  b.Box(walnut, 1.8, -3.8, 0.5, 2.45, -3.28, 0.72);
  b.EndGroup();
  Chair(b, 1.5, -2.9, 180, b.Flat(0x9A4A3A), walnut);
  b.PushWall(2);
  b.BeginGroup();
  b.Box(b.Flat(0xC8A050), 1.05, -0.01, 1.05, 2.35, 0.03, 2.05);
  Material mirror;
  mirror.color = Srgb(0x303438);
  mirror.reflect = 0.85;
  b.Box(b.Mat(mirror), 1.1, -0.01, 1.1, 2.3, 0.04, 2.0);
  b.EndGroup();
  b.Pop();
  // Wardrobe and door on x-, armchair with floor lamp.
  b.BeginGroup();
  b.Box(walnut, -3.8, -3.7, 0, -3.2, -1.9, 2.25);
  b.Box(b.Flat(0x3A2414), -3.21, -2.81, 0.1, -3.19, -2.79, 2.15);
  b.Sphere(b.Flat(0xC8A050), -3.18, -2.7, 1.1, 0.03);
  b.Sphere(b.Flat(0xC8A050), -3.18, -2.9, 1.1, 0.03);
  b.EndGroup();
  Door(b, 0, 0.4, 0.9, 2.1, b.Flat(0xE8E2D6), b.Flat(0xF6F2EA));
  Sofa(b, -2.7, 1.6, FacingAngle(-2.7, 1.6, 0, -0.5), 0.9, b.Flat(0x4A6A5A), b.Flat(0x5A7C6A));
  FloorLamp(b, -3.3, 2.8, b.Flat(0x3A3A3A), shade);
  // Rug and a padded bench at the foot of the bed, a dresser with a TV
  // beside the window.
  Rug(b, -1.6, 0.6, 1.6, 3.4, b.Mat(Patterned(Pattern::kCarpet, 0x8A6A4A, 0xA07E58, 0.6)));
  b.BeginGroup();
  b.Box(b.Flat(0xC8A070), -0.7, 0.85, 0.3, 0.7, 1.25, 0.48);
  for (double x : {-0.62, 0.62})
    b.Box(walnut, x - 0.03, 0.9, 0, x + 0.03, 1.2, 0.3);
  b.EndGroup();
  b.PushWall(1);
  b.BeginGroup();
  b.Box(walnut, -2.9, -0.01, 0, -1.5, 0.5, 0.8);
  b.Box(b.Flat(0x3A2414), -2.85, 0.5, 0.42, -1.55, 0.51, 0.44);
  b.Box(b.Flat(0x141416, 0.5), -2.6, 0.15, 0.95, -1.8, 0.2, 1.45);
  b.Box(b.Flat(0x202020), -2.24, 0.12, 0.8, -2.16, 0.25, 0.95);
  b.EndGroup();
  b.Pop();
  b.BeginGroup();
  b.Cyl(b.Mat(Emissive(0xFFF2DC, 1.2)), 0, 1.0, 2.64, 2.7, 0.25);
  b.EndGroup();
  b.AddLight(0, 1.0, 2.4, Srgb(0xFFF0DC) * 0.5, 3.0, 0.3);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 4
Scene Suite2() {
  Scene s = Shell(-4.4, -3.5, 4.3, 3.5, 2.7, 1.35);
  s.yaw_deg = -35.4;
  Builder b(&s);
  s.floor_mat = b.Flat(0x8A96A0);
  s.ceiling_mat = b.Flat(0xF4F6F6);
  SetWalls(&s, b.Flat(0xD6E2E4));
  s.wall_mat[1] = b.Flat(0x5A8A9A);
  s.ambient = Srgb(0x6A6E70);

  int oak = b.Flat(0xB89060);
  int shade = b.Mat(Emissive(0xFFEAC8, 1.25));
  int sheet = b.Flat(0xF2F2EC), blanket = b.Flat(0x2E6488), pillow = b.Flat(0xFAFAF6);
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0xF4F4F2);
  // Two single beds, heads against x+, nightstand between and beside.
  for (double y : {-0.85, 0.85})
    Bed(b, 3.2, y, -90, 1.0, 2.0, oak, sheet, blanket, pillow);
  Nightstand(b, 3.98, 0, -90, oak, shade);
  Nightstand(b, 3.98, -1.75, -90, oak, shade);
  Picture(b, 1, -0.9, 1.65, 0.7, 0.5, oak,
          b.Mat(Patterned(Pattern::kPainting, 0x3A6A6A, 0xF0C890, 1.0)));
  Picture(b, 1, 0.9, 1.65, 0.7, 0.5, oak,
          b.Mat(Patterned(Pattern::kPainting, 0x5A7A3A, 0x90B8D8, 3.0)));
  // Sitting area: sofa facing the room, round coffee table, lamp.
  Rug(b, -4.0, -1.6, -1.6, 1.6, b.Flat(0xD8CCB0));
  Sofa(b, -3.8, 0, FacingAngle(-3.8, 0, 0, 0), 2.0, b.Flat(0xC8A458), b.Flat(0xD8B868));
  RoundTable(b, -2.6, 0, 0.45, 0.45, oak, oak);
  Sofa(b, -2.3, 2.5, FacingAngle(-2.3, 2.5, -2.6, 0), 0.9, b.Flat(0x2E6488), b.Flat(0x3C78A0));
  FloorLamp(b, -4.0, 1.6, b.Flat(0x303030), shade);
  // TV on a low cabinet on y+.
  b.BeginGroup();
  b.Box(oak, -1.2, 3.05, 0, 1.2, 3.5, 0.5);
  Material tv;
  tv.color = Srgb(0x0E1014);
  tv.reflect = 0.2;
  b.Box(b.Mat(tv), -0.65, 3.3, 0.9, 0.65, 3.38, 1.65);
  b.Box(b.Flat(0x202020), -0.05, 3.3, 0.5, 0.05, 3.36, 0.9);
  b.EndGroup();
  Door(b, 3, 3.0, 0.9, 2.1, b.Flat(0xF0F0EC), b.Flat(0xE0E0DA));
  Window(b, 2, 0, 2.6, 0.7, 2.35, frame, glass, 1.2);
  Curtains(b, 2, 0, 2.6, 2.55, b.Flat(0x7A98A8));
  Plant(b, -3.9, -3.0, 1.3, b.Flat(0xE8E4DC), b.Flat(0x2E6A30), b.Flat(0x4A8A3C));
  // Writing desk with chair and lamp under the window wall's right side.
  b.BeginGroup();
  b.Box(oak, 1.7, -3.5, 0.72, 3.1, -2.95, 0.76);
  for (double x : {1.73, 3.07})
    b.Box(oak, x - 0.03, -3.48, 0, x + 0.03, -2.97, 0.72);
  b.Cyl(b.Flat(0x303030), 2.85, -3.3, 0.76, 1.1, 0.012);
  b.Cyl(shade, 2.85, -3.3, 1.05, 1.22, 0.12);
  b.EndGroup();
  b.AddLight(2.85, -3.3, 1.12, Srgb(0xFFEAC8) * 0.4, 1.2, 0.05);
  Chair(b, 2.3, -2.65, 180, b.Flat(0x2E6488), oak);
  // Wardrobe beside the door.
  b.BeginGroup();
  b.Box(b.Flat(0xE8E4DC), -2.4, 2.9, 0, -1.6, 3.5, 2.2);
  b.Box(b.Flat(0xB8B4AC), -2.01, 2.89, 0.1, -1.99, 2.9, 2.1);
  b.EndGroup();
  b.AddLight(0, 0, 2.4, Srgb(0xFFF4E4) * 0.55, 3.0, 0.3);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 5
Scene DiningRoom() {
  Scene s = Shell(-7, -5.5, 7, 5.5, 3.3, 1.45);
  s.yaw_deg = -66.0;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kBoards, 0x6E4C32, 0x5C3E28, 0.22));
  s.ceiling_mat = b.Flat(0xF2EADA);
  SetWalls(&s, b.Flat(0xE8D8B8));
  s.ambient = Srgb(0x5E5850);

  int panel = b.Flat(0x5A3A24);
  // Wooden dado all round.
  b.BeginGroup();
  b.Box(panel, -7, -5.5, 0, 7, -5.44, 0.95);
  b.Box(panel, -7, 5.44, 0, 7, 5.5, 0.95);
  b.Box(panel, -7, -5.5, 0, -6.94, 5.5, 0.95);
  b.Box(panel, 6.94, -5.5, 0, 7, 5.5, 0.95);
  b.EndGroup();
  int cloth = b.Flat(0xF6F4EE), wood = b.Flat(0x5E3420), seat = b.Flat(0x8A2630);
  int candle = b.Mat(Emissive(0xFFD080, 1.6));
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  const double tables[][2] = {{-4.0, -2.7}, {0, -3.2}, {4.0, -2.7},
                              {-4.0, 2.7},  {0, 3.2},  {4.0, 2.7}};
  for (const auto& t : tables) {
    b.Push(t[0], t[1], 0);
    b.BeginGroup();
    b.Cyl(cloth, 0, 0, 0.42, 0.76, 0.62);
    b.Cyl(wood, 0, 0, 0, 0.42, 0.06);
    b.Cyl(b.Flat(0xE8E4F0, 0.6), 0.12, 0.05, 0.76, 0.95, 0.04);
    b.Cyl(candle, -0.1, -0.05, 0.76, 0.9, 0.02);
    b.EndGroup();
    b.Pop();
    for (int k = 0; k < 4; ++k) {
      double a = kPi / 4 + k * kPi / 2;
      double x = t[0] + 0.88 * std::cos(a), y = t[1] + 0.88 * std::sin(a);
      Chair(b, x, y, FacingAngle(x, y, t[0], t[1]), seat, wood);
    }
  }
  Vec3 warm = Srgb(0xFFE4B8) * 1.1;
  int brass = b.Flat(0xC09040, 0.6), bulb = b.Mat(Emissive(0xFFE8C0, 1.6));
  Chandelier(b, -4.0, 0, 3.3, brass, bulb, warm, 3.5);
  Chandelier(b, 4.0, 0, 3.3, brass, bulb, warm, 3.5);
  int frame = b.Flat(0xF0ECE2);
  int curtain = b.Flat(0x7A2030);
  for (double u : {-4.5, 0.0, 4.5}) {
    Window(b, 2, u, 1.5, 1.0, 2.7, frame, glass, 0.8);
    Curtains(b, 2, u, 1.5, 3.05, curtain);
  }
  Picture(b, 3, -3.0, 1.8, 1.6, 1.0, brass,
          b.Mat(Patterned(Pattern::kPainting, 0x4A6A3A, 0xE8C090, 2.5)));
  Picture(b, 3, 3.0, 1.8, 1.6, 1.0, brass,
          b.Mat(Patterned(Pattern::kPainting, 0x6A4A3A, 0x90B0D0, 5.0)));
  // Double doors on x-, buffet with a gilded mirror on x+.
  Door(b, 0, -0.55, 1.0, 2.4, b.Flat(0x6A4028), brass);
  Door(b, 0, 0.55, 1.0, 2.4, b.Flat(0x6A4028), brass);
  b.PushWall(1);
  b.BeginGroup();
  b.Box(wood, -1.4, -0.01, 0, 1.4, 0.55, 0.95);
  for (double u : {-0.9, -0.3, 0.3, 0.9})
    b.Box(b.Flat(0x4A2818), u - 0.26, 0.55, 0.1, u + 0.26, 0.56, 0.85);
  b.Box(brass, -1.0, -0.01, 1.25, 1.0, 0.04, 2.65);
  Material mirror;
  mirror.color = Srgb(0x404038);
  mirror.reflect = 0.8;
  b.Box(b.Mat(mirror), -0.9, -0.01, 1.35, 0.9, 0.05, 2.55);
  b.Cyl(b.Flat(0xEEEEEE, 0.5), -0.6, 0.3, 0.95, 1.25, 0.09);
  b.Cyl(b.Flat(0xEEEEEE, 0.5), 0.6, 0.3, 0.95, 1.25, 0.09);
  b.EndGroup();
  b.Pop();
  int pot = b.Flat(0x8A5A3A), leaf = b.Flat(0x2E6A30), leaf2 = b.Flat(0x4A8A3C);
  Plant(b, -6.4, -4.9, 1.7, pot, leaf, leaf2);
  Plant(b, 6.4, 4.9, 1.7, pot, leaf, leaf2);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 6
Scene Lounge() {
  Scene s = Shell(-5, -4.5, 5, 4.5, 2.9, 1.35);
  s.yaw_deg = -47.7;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kBoards, 0x8A6444, 0x7A5638, 0.2));
  s.ceiling_mat = b.Flat(0xEEE4D4);
  SetWalls(&s, b.Flat(0xD8B48A));
  s.ambient = Srgb(0x544A42);

  int stone = b.Flat(0xB0A898), wood = b.Flat(0x4A2C1A);
  int leather = b.Flat(0x6A3420), leather2 = b.Flat(0x7E4028);
  int green = b.Flat(0x3A5A44), green2 = b.Flat(0x486C52);
  // Fireplace with a glowing fire on x+.
  b.PushWall(1);
  b.BeginGroup();
  b.Box(stone, -0.95, -0.01, 0, 0.95, 0.5, 1.2);
  b.Box(b.Flat(0x1A1412), -0.55, -0.01, 0.12, 0.55, 0.51, 0.8);
  b.Box(b.Mat(Patterned(Pattern::kFire, 0, 0)), -0.5, -0.01, 0.14, 0.5, 0.3, 0.72);
  b.Box(wood, -1.1, -0.01, 1.2, 1.1, 0.58, 1.3);
  b.Box(stone, -0.8, -0.01, 1.3, 0.8, 0.36, 2.9);
  b.Cyl(b.Flat(0xC8A050, 0.5), -0.8, 0.35, 1.3, 1.55, 0.06);
  b.Cyl(b.Flat(0x2A4A7A, 0.5), 0.8, 0.35, 1.3, 1.6, 0.07);
  b.EndGroup();
  b.AddLight(0, 0.9, 0.45, Srgb(0xFF9040) * 1.1, 2.0, 0.2, true);
  b.Pop();
  Picture(b, 1, 0, 1.9, 1.0, 0.6, b.Flat(0xC8A050),
          b.Mat(Patterned(Pattern::kPainting, 0x4A5A3A, 0xD0A070, 3.5)));
  // Two sofas facing each other across a coffee table, on a rug.
  Rug(b, 1.2, -2.4, 4.3, 2.4, b.Mat(Patterned(Pattern::kCarpet, 0x6A2E2A, 0x8C4A34, 0.8)));
  Sofa(b, 2.6, -2.0, 180, 2.1, leather, leather2);
  Sofa(b, 2.6, 2.0, 0, 2.1, leather, leather2);
  Table(b, 2.6, 0, 0, 1.3, 0.7, 0.42, wood, wood);
  b.BeginGroup();
  b.Cyl(b.Flat(0xE8E0D0), 2.5, 0.1, 0.42, 0.62, 0.08);
  b.Ellipsoid(b.Flat(0xC8384A), 2.5, 0.1, 0.7, 0.14, 0.14, 0.1);
  b.EndGroup();
  // Reading corner: armchairs, side table, floor lamp, bookcase on x-.
  Sofa(b, -3.6, -2.6, FacingAngle(-3.6, -2.6, -2.4, -1.2), 0.95, green, green2);
  Sofa(b, -3.6, 2.6, FacingAngle(-3.6, 2.6, -2.4, 1.2), 0.95, green, green2);
  RoundTable(b, -4.2, 0, 0.35, 0.55, wood, wood);
  int shade = b.Mat(Emissive(0xFFDCA8, 1.2));
  FloorLamp(b, -4.4, -1.4, b.Flat(0x2A2A2A), shade);
  FloorLamp(b, -4.4, 1.4, b.Flat(0x2A2A2A), shade);
  std::vector<int> covers;
  for (uint32_t c : {0x8A2A22, 0x2A4A6A, 0xC8A040, 0x3A6A3A, 0xD8D0C0, 0x5A2A4A})
    covers.push_back(b.Flat(c));
  Bookcase(b, 0, 0, 2.0, 2.3, wood, b.Flat(0x2A1A10), covers);
  int glass = b.Mat(Patterned(Pattern::kNightView, 0, 0));
  int frame = b.Flat(0xE8E0D0), curtain = b.Flat(0x2E4A38);
  for (int w : {2, 3})
    for (double u : {-2.2, 2.2}) {
      Window(b, w, u, 1.3, 0.9, 2.3, frame, glass, 0.35);
      Curtains(b, w, u, 1.3, 2.6, curtain);
    }
  // Brass wall lights beside the fireplace.
  b.PushWall(1);
  int glow = b.Mat(Emissive(0xFFD8A0, 1.4));
  b.BeginGroup();
  for (double u : {-1.7, 1.7}) {
    b.Box(b.Flat(0xC8A050), u - 0.05, -0.01, 1.6, u + 0.05, 0.05, 1.8);
    b.Cyl(glow, u, 0.14, 1.75, 1.95, 0.08);
  }
  b.EndGroup();
  for (double u : {-1.7, 1.7})
    b.AddLight(u, 0.35, 1.85, Srgb(0xFFD8A0) * 0.5, 1.5, 0.05);
  b.Pop();
  b.AddLight(0, 0, 2.6, Srgb(0xFFE8D0) * 0.35, 3.5, 0.3);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 7
Scene Bar() {
  Scene s = Shell(-5.5, -4, 5.5, 4, 3.0, 1.5);
  s.yaw_deg = -42.6;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kBoards, 0x4A3222, 0x3E2A1C, 0.18));
  s.ceiling_mat = b.Flat(0x3A2C26);
  SetWalls(&s, b.Flat(0x7A2E2A));
  s.ambient = Srgb(0x4A403A);
  s.exposure = 1.15;

  int wood = b.Flat(0x5A3018), top = b.Flat(0x2A1A12, 0.6);
  int brass = b.Flat(0xC8A050, 0.7), chrome = b.Flat(0xB0B4B8, 0.7);
  int red = b.Flat(0x8A1E1E, 0.3);
  // Counter along x+, brass foot rail, beer taps.
  b.BeginGroup();
  b.Box(wood, 2.4, -2.8, 0, 3.1, 2.8, 1.05);
  b.Box(b.Flat(0x6E3C1E), 2.38, -2.7, 0.1, 2.4, 2.7, 0.95);
  b.Box(top, 2.28, -2.9, 1.05, 3.2, 2.9, 1.1);
  b.CylH(brass, 1, 2.3, 0, 0.22, 2.8, 0.025);
  for (double y : {-0.3, -0.1, 0.1, 0.3}) {
    b.Cyl(chrome, 2.75, y, 1.1, 1.38, 0.025);
    b.Cyl(b.Flat(0x1A1A1A), 2.75, y, 1.38, 1.5, 0.02);
  }
  b.EndGroup();
  for (double y : {-2.2, -1.1, 0.0, 1.1, 2.2}) {
    b.Push(1.85, y, 0);
    b.BeginGroup();
    b.Cyl(chrome, 0, 0, 0, 0.02, 0.22);
    b.Cyl(chrome, 0, 0, 0.02, 0.74, 0.03);
    b.Cyl(red, 0, 0, 0.74, 0.82, 0.2);
    b.Cyl(chrome, 0, 0, 0.3, 0.32, 0.16);
    b.EndGroup();
    b.Pop();
  }
  // Back bar: mirror, lit glass shelves with bottles, cabinet below.
  b.PushWall(1);
  b.BeginGroup();
  b.Box(wood, -2.8, -0.01, 0, 2.8, 0.5, 1.0);
  b.Box(top, -2.85, -0.01, 1.0, 2.85, 0.55, 1.04);
  Material mirror;
  mirror.color = Srgb(0x302420);
  mirror.reflect = 0.7;
  b.Box(b.Mat(mirror), -2.6, -0.01, 1.04, 2.6, 0.03, 2.5);
  b.Box(wood, -2.8, -0.01, 2.5, 2.8, 0.35, 2.7);
  b.EndGroup();
  const uint32_t bottle_colors[] = {0xB86A1E, 0x2E6A2E, 0xD8DCD0, 0x8A1E2A, 0x2A4A8A, 0xD8A030};
  int bottle_mat[6];
  for (int i = 0; i < 6; ++i) {
    bottle_mat[i] = b.Flat(bottle_colors[i], 0.8);
  }
  int strip = b.Mat(Emissive(0xFFC880, 1.3));
  for (int row = 0; row < 3; ++row) {
    double z = 1.3 + row * 0.42;
    b.BeginGroup();
    b.Box(b.Flat(0x8A9A98, 0.5), -2.5, 0.03, z - 0.03, 2.5, 0.3, z);
    b.Box(strip, -2.5, 0.25, z - 0.05, 2.5, 0.29, z - 0.03);
    int k = 0;
    for (double u = -2.35; u < 2.4; u += 0.2, ++k) {
      int m = bottle_mat[(k * 5 + row * 2) % 6];
      double h = 0.2 + 0.04 * ((k + row) % 3);
      b.Cyl(m, u, 0.16, z, z + h, 0.045);
      b.Cyl(m, u, 0.16, z + h, z + h + 0.09, 0.015);
    }
    b.EndGroup();
  }
  b.Pop();
  b.AddLight(4.5, 0, 2.2, Srgb(0xFFC880) * 0.5, 2.0, 0.3, false);
  int amber = b.Mat(Emissive(0xFFB860, 1.5)), cord = b.Flat(0x1A1A1A);
  for (double y : {-2.0, 0.0, 2.0})
    Pendant(b, 2.75, y, 3.0, 1.0, cord, amber, Srgb(0xFFC080) * 0.8, 1.6);
  // Tables and a long banquette on the other side.
  const double spots[][2] = {{-2.2, -2.2}, {-2.2, 2.2}, {0.2, -3.0}};
  for (const auto& t : spots) {
    RoundTable(b, t[0], t[1], 0.4, 0.74, top, chrome);
    for (int k = 0; k < 2; ++k) {
      double a = k * kPi + 0.5;
      double x = t[0] + 0.7 * std::cos(a), y = t[1] + 0.7 * std::sin(a);
      Chair(b, x, y, FacingAngle(x, y, t[0], t[1]), red, wood);
    }
    Pendant(b, t[0], t[1], 3.0, 1.3, cord, amber, Srgb(0xFFC080) * 0.45, 1.3);
  }
  Sofa(b, -4.9, 0, FacingAngle(-4.9, 0, 0, 0), 4.0, red, b.Flat(0x9A2A26, 0.3));
  Table(b, -4.0, 0, 90, 1.4, 0.6, 0.74, top, chrome);
  int glass = b.Mat(Patterned(Pattern::kNightView, 0, 0));
  for (double u : {-2.0, 2.0})
    Window(b, 3, u, 1.6, 0.9, 2.4, b.Flat(0x2A1A12), glass, 0.25);
  Picture(b, 2, -3.0, 1.7, 1.0, 0.7, brass,
          b.Mat(Patterned(Pattern::kPainting, 0x3A2A2A, 0xC87840, 1.5)));
  Door(b, 2, 1.5, 1.0, 2.2, b.Flat(0x3A2014), brass);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 8
Scene Gym() {
  Scene s = Shell(-6, -4.5, 6, 4.5, 3.2, 1.5);
  s.yaw_deg = -127.5;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kTiles, 0x3C4046, 0x30343A, 1.0));
  s.ceiling_mat = b.Flat(0xF0F2F4);
  SetWalls(&s, b.Flat(0xECEEF0));
  s.wall_mat[3] = b.Flat(0x2A78B4);
  s.ambient = Srgb(0x74787C);

  int black = b.Flat(0x202226, 0.3), grey = b.Flat(0x70747A, 0.4);
  int chrome = b.Flat(0xB8BCC0, 0.6), belt = b.Flat(0x141416);
  int screen = b.Mat(Emissive(0x3AA0E0, 1.0));
  // Treadmills facing the windows on y-.
  for (double x : {-3.6, -1.8, 0.0, 1.8}) {
    b.Push(x, -2.7, 0);
    b.BeginGroup();
    b.Box(black, -0.42, -0.9, 0.05, 0.42, 0.95, 0.2);
    b.Box(belt, -0.3, -0.8, 0.2, 0.3, 0.92, 0.23);
    b.Box(grey, -0.44, -1.0, 0.0, 0.44, -0.6, 0.34);
    for (int sx = -1; sx <= 1; sx += 2) {
      b.Box(grey, sx * 0.38 - 0.03, -0.86, 0.2, sx * 0.38 + 0.03, -0.8, 1.3, 12);
      b.CylH(chrome, 1, sx * 0.38, -0.5, 1.05, 0.3, 0.025);
    }
    b.Box(black, -0.42, -0.98, 1.22, 0.42, -0.7, 1.42, 25);
    b.Box(screen, -0.2, -0.85, 1.32, 0.2, -0.82, 1.4, 25);
    b.EndGroup();
    b.Pop();
  }
  // Mirror wall with a dumbbell rack on x+.
  b.PushWall(1);
  b.BeginGroup();
  Material mirror;
  mirror.color = Srgb(0x3A4044);
  mirror.reflect = 0.85;
  b.Box(b.Mat(mirror), -4.0, -0.01, 0.3, 4.0, 0.03, 2.6);
  b.Box(chrome, -4.0, -0.01, 0.25, 4.0, 0.04, 0.3);
  b.EndGroup();
  b.BeginGroup();
  for (double u : {-2.0, 0.0, 2.0})
    b.Box(black, u - 0.04, 0.3, 0, u + 0.04, 0.8, 0.8);
  b.Box(black, -2.1, 0.3, 0.36, 2.1, 0.8, 0.4, -10);
  b.Box(black, -2.1, 0.3, 0.76, 2.1, 0.8, 0.8, -10);
  const uint32_t plate_colors[] = {0x2A2A2E, 0xC83A30, 0x2A5AB0, 0xE0B030};
  int plates[4];
  for (int i = 0; i < 4; ++i)
    plates[i] = b.Flat(plate_colors[i], 0.3);
  int k = 0;
  for (int tier = 0; tier < 2; ++tier)
    for (double u = -1.8; u < 1.85; u += 0.4, ++k) {
      double z = tier == 0 ? 0.5 : 0.9;
      double r = 0.06 + 0.012 * (k % 5);
      int m = plates[(k / 3) % 4];
      b.CylH(chrome, 1, u, 0.55, z, 0.2, 0.016);
      b.CylH(m, 1, u, 0.35, z, 0.05, r);
      b.CylH(m, 1, u, 0.75, z, 0.05, r);
    }
  b.EndGroup();
  b.Pop();
  // Bench, power rack with barbell, exercise balls.
  b.Push(3.2, 2.2, 90);
  b.BeginGroup();
  b.Box(chrome, -0.05, -0.6, 0, 0.05, 0.6, 0.35);
  b.Box(b.Flat(0xB02A2A, 0.2), -0.16, -0.65, 0.35, 0.16, 0.65, 0.45);
  b.EndGroup();
  b.Pop();
  b.Push(-3.8, 2.8, 0);
  b.BeginGroup();
  for (int sx = -1; sx <= 1; sx += 2)
    for (int sy = -1; sy <= 1; sy += 2)
      b.Box(black, sx * 0.6 - 0.04, sy * 0.6 - 0.04, 0, sx * 0.6 + 0.04, sy * 0.6 + 0.04, 2.3);
  for (int sx = -1; sx <= 1; sx += 2)
    b.Box(black, sx * 0.6 - 0.04, -0.64, 2.22, sx * 0.6 + 0.04, 0.64, 2.3);
  b.CylH(chrome, 0, 0, -0.6, 1.4, 1.1, 0.02);
  for (int sx = -1; sx <= 1; sx += 2) {
    b.CylH(plates[1], 0, sx * 0.8, -0.6, 1.4, 0.04, 0.22);
    b.CylH(plates[0], 0, sx * 0.9, -0.6, 1.4, 0.03, 0.18);
  }
  b.EndGroup();
  b.Pop();
  b.BeginGroup();
  b.Sphere(b.Flat(0x2A70C8, 0.5), -5.3, -0.6, 0.33, 0.33);
  b.Sphere(b.Flat(0xC83A60, 0.5), -5.3, 0.3, 0.3, 0.3);
  b.Box(b.Flat(0x3A8A5A), -5.8, 0.9, 0, -4.8, 2.0, 0.03);
  b.EndGroup();
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0x5A5E64);
  for (double u : {-3.8, -1.3, 1.3, 3.8})
    Window(b, 2, u, 2.2, 0.6, 2.8, frame, glass, 0.9);
  Door(b, 0, 2.6, 1.0, 2.2, b.Flat(0xD8DCE0), frame);
  b.PushWall(3);
  b.BeginGroup();
  b.CylH(b.Flat(0xF4F4F4), 1, 0, 0.02, 2.5, 0.03, 0.25);
  b.CylH(black, 1, 0, 0.0, 2.5, 0.03, 0.27);
  b.Box(black, 1.5, -0.01, 1.6, 3.1, 0.06, 2.5);
  b.Box(b.Mat(Emissive(0x5A8AB8, 1.0)), 1.55, -0.01, 1.65, 3.05, 0.07, 2.45);
  b.EndGroup();
  b.Pop();
  int glow = b.Mat(Emissive(0xF8FAFF, 1.5));
  for (double x : {-3.5, 0.0, 3.5})
    for (double y : {-2.2, 2.2})
      CeilingPanel(b, x, y, 3.2, 1.2, 0.4, glow, Srgb(0xF4F8FF) * 0.65, 3.0);
  b.EndGroup();
  return s;
}

// ---------------------------------------------------------------- 9
Scene PoolArea() {
  Scene s = Shell(-10, -7, 10, 7, 4.5, 1.5);
  s.eye_xy = Vec3(0, -2.6, 0);
  s.yaw_deg = 54.3;
  Builder b(&s);
  s.floor_mat = b.Mat(Patterned(Pattern::kTiles, 0xE6E2D8, 0xC4BEB0, 0.6));
  s.ceiling_mat = b.Flat(0xEEF2F4);
  SetWalls(&s, b.Flat(0xE4ECF0));
  s.ambient = Srgb(0x868C90);

  Material water = Patterned(Pattern::kWater, 0x2E9CC4, 0x5CC4DC, 1.5);
  water.reflect = 0.3;
  int water_mat = b.Mat(water);
  int coping = b.Flat(0xF4F2EC), band = b.Flat(0x2A6A9A);
  // Pool: water surface at floor level, stone coping and a tile band.
  b.BeginGroup();
  b.Box(water_mat, -7, -1, -0.2, 7, 5, 0.01);
  b.Box(coping, -7.4, -1.4, 0, 7.4, -1.0, 0.05);
  b.Box(coping, -7.4, 5.0, 0, 7.4, 5.4, 0.05);
  b.Box(coping, -7.4, -1.0, 0, -7.0, 5.0, 0.05);
  b.Box(coping, 7.0, -1.0, 0, 7.4, 5.0, 0.05);
  b.Box(band, -7.4, -1.42, 0, 7.4, -1.4, 0.05);
  b.EndGroup();
  // Blue tiled dado round the hall, lifebuoys on the back wall.
  int wall_tiles = b.Mat(Patterned(Pattern::kTiles, 0x9CCCE0, 0x7AAAC0, 0.3));
  b.BeginGroup();
  b.Box(wall_tiles, -10, -7, 0, 10, -6.96, 1.2);
  b.Box(wall_tiles, -10, 6.96, 0, 10, 7, 0.3);
  b.Box(wall_tiles, -10, -7, 0, -9.96, 7, 0.3);
  b.Box(wall_tiles, 9.96, -7, 0, 10, 7, 0.3);
  b.EndGroup();
  b.PushWall(2);
  b.BeginGroup();
  for (double u : {-5.25, 2.75}) {
    b.CylH(b.Flat(0xE03A2A), 1, u, 0.05, 2.1, 0.05, 0.35);
    b.CylH(b.Flat(0xF4F4F2), 1, u, 0.06, 2.1, 0.05, 0.24);
    b.CylH(b.Flat(0xE4ECF0), 1, u, 0.07, 2.1, 0.05, 0.18);
  }
  b.EndGroup();
  b.Pop();
  // Ladder.
  int chrome = b.Flat(0xC8CCD0, 0.7);
  b.BeginGroup();
  for (double x : {-3.3, -2.8}) {
    b.Cyl(chrome, x, -1.2, 0, 0.9, 0.025);
    b.CylH(chrome, 1, x, -1.05, 0.9, 0.15, 0.025);
  }
  b.EndGroup();
  // Loungers along y-, heads to the wall, facing the pool.
  int white = b.Flat(0xF4F4F2), cushion = b.Flat(0x2A86C0);
  for (double x : {-6.5, -4.0, -1.5, 1.5, 4.0, 6.5}) {
    b.Push(x, -5.6, 180);
    b.BeginGroup();
    b.Box(white, -0.35, -1.0, 0.22, 0.35, 0.4, 0.3);
    b.Box(cushion, -0.32, -0.98, 0.3, 0.32, 0.36, 0.36);
    b.Box(cushion, -0.32, 0.28, 0.55, 0.32, 0.38, 1.2, 40);
    for (int sx = -1; sx <= 1; sx += 2)
      for (double y : {-0.9, 0.3})
        b.Box(white, sx * 0.3 - 0.03, y - 0.03, 0, sx * 0.3 + 0.03, y + 0.03, 0.22);
    b.EndGroup();
    b.Pop();
  }
  // Side tables with towels between some loungers.
  b.BeginGroup();
  for (double x : {-5.25, 2.75}) {
    b.Cyl(white, x, -6.2, 0, 0.5, 0.25);
    b.Box(b.Flat(0xF0C040), x - 0.18, -6.35, 0.5, x + 0.18, -6.05, 0.62);
  }
  b.EndGroup();
  // Big windows on three walls, skylights above.
  int glass = b.Mat(Patterned(Pattern::kWindowView, 0, 0));
  int frame = b.Flat(0xD8DCE0);
  for (double u : {-7.5, -4.5, -1.5, 1.5, 4.5, 7.5})
    Window(b, 3, u, 2.6, 0.3, 3.9, frame, glass, 0.9);
  for (double u : {-4.5, -1.5, 1.5, 4.5})
    Window(b, 1, u, 2.6, 0.3, 3.9, frame, glass, 0.9);
  Window(b, 0, 1.5, 2.6, 0.3, 3.9, frame, glass, 0.9);
  Door(b, 0, -3.5, 1.6, 2.4, b.Flat(0xB8C4CC), frame);
  int leaf = b.Flat(0x2E7A38), leaf2 = b.Flat(0x4A9A44), pot = b.Flat(0xC8B8A0);
  const double palms[][2] = {{-9.2, -6.2}, {9.2, -6.2}, {-9.2, 6.2}, {9.2, 6.2}, {-9.2, 2.0}};
  for (const auto& p : palms)
    Plant(b, p[0], p[1], 2.6, pot, leaf, leaf2);
  int glow = b.Mat(Emissive(0xF4FAFF, 1.6));
  for (double x : {-5.0, 0.0, 5.0})
    CeilingPanel(b, x, 2.0, 4.5, 2.5, 1.2, glow, Srgb(0xF4FAFF) * 0.9, 4.0);
  for (double x : {-5.0, 0.0, 5.0})
    CeilingPanel(b, x, -5.0, 4.5, 1.2, 0.5, glow, Srgb(0xF4FAFF) * 0.5, 3.0);
  b.EndGroup();
  return s;
}

}  // namespace

const char* RoomTitle(int index) {
  static const char* titles[kRoomCount] = {
      "Front Desk", "Conference Rm.", "Conference Rm2.", "Suite 1",
      "Suite 2",    "Dining Room",    "Lounge",          "Bar",
      "Gym",        "Pool Area"};
  return titles[index];
}

Scene BuildRoom(int index) {
  switch (index) {
    case 0:
      return FrontDesk();
    case 1:
      return ConferenceRoom();
    case 2:
      return ConferenceRoom2();
    case 3:
      return Suite1();
    case 4:
      return Suite2();
    case 5:
      return DiningRoom();
    case 6:
      return Lounge();
    case 7:
      return Bar();
    case 8:
      return Gym();
    default:
      return PoolArea();
  }
}

}  // namespace artwork
