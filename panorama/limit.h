// LimitTo: the resamplers' argument limiting. Renderers never fail: an
// out-of-range argument is moved to the nearest bound and the call answers
// with status -1.
#ifndef VISTELLO_PANORAMA_LIMIT_H
#define VISTELLO_PANORAMA_LIMIT_H

// value limited to low .. high; status becomes -1 when it had to move.
inline int LimitTo(int value, int low, int high, int& status) {
  if (value < low) {
    status = -1;
    return low;
  }
  if (value > high) {
    status = -1;
    return high;
  }
  return value;
}

#endif  // VISTELLO_PANORAMA_LIMIT_H
