// The demo tour's ten rooms, in strip order.
#pragma once

#include "raycast.h"

namespace artwork {

constexpr int kRoomCount = 10;

// Title shown for strip `index` (also used for log output).
const char* RoomTitle(int index);

// Scene description of strip `index` (0..kRoomCount-1).
Scene BuildRoom(int index);

}  // namespace artwork
