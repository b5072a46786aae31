// Furniture and fixture helpers shared by the room descriptions. Each
// helper opens its own group (bounding box for culling) in the builder.
//
// Conventions: positions are in the builder's current frame; an angle of 0
// means the piece "faces" local -y (a chair's sitter, a sofa's front, the
// foot end of a bed), so its back/head is on the +y side.
#pragma once

#include <vector>

#include "raycast.h"

namespace artwork {

Material Emissive(uint32_t hex, double strength);
Material Patterned(Pattern p, uint32_t c1, uint32_t c2, double scale = 1);

// Angle that turns a piece at (x, y) to face the point (tx, ty).
double FacingAngle(double x, double y, double tx, double ty);

// Wall fittings; `wall` as in Builder::PushWall, `u` along the wall from
// its midpoint (to the right of a viewer facing it).
void Window(Builder& b, int wall, double u, double width, double z0, double z1, int frame,
            int glass, double light = 1.0);
void Curtains(Builder& b, int wall, double u, double width, double top, int cloth);
void Door(Builder& b, int wall, double u, double width, double height, int panel, int frame);
void Picture(Builder& b, int wall, double u, double zc, double w, double h, int frame, int canvas);

// Open bookcase against a wall: carcass, shelves and rows of books whose
// widths and colours follow a fixed sequence.
void Bookcase(Builder& b, int wall, double u, double width, double height, int wood, int back,
              const std::vector<int>& covers);

void Table(Builder& b, double x, double y, double angle, double len, double wid, double height,
           int top, int legs);
void RoundTable(Builder& b, double x, double y, double r, double height, int top, int base);
void Chair(Builder& b, double x, double y, double angle, int seat, int frame);
void Sofa(Builder& b, double x, double y, double angle, double len, int body, int cushion);
void Bed(Builder& b, double x, double y, double angle, double wid, double len, int frame, int sheet,
         int blanket, int pillow);
void Nightstand(Builder& b, double x, double y, double angle, int wood, int shade);
void FloorLamp(Builder& b, double x, double y, int metal, int shade);
void Plant(Builder& b, double x, double y, double height, int pot, int leaf, int leaf2);
void Rug(Builder& b, double x0, double y0, double x1, double y1, int mat);
void CeilingPanel(Builder& b, double x, double y, double ceiling, double w, double l, int glow,
                  const Vec3& light, double range);
void Chandelier(Builder& b, double x, double y, double ceiling, int metal, int glow,
                const Vec3& light, double range);
void Pendant(Builder& b, double x, double y, double ceiling, double drop, int cord, int shade,
             const Vec3& light, double range);

}  // namespace artwork
