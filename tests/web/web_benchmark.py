"""Measures the web edition's budgets in headless Chromium: the size of
each page, the time from navigation to the first frame of the first scene
(page opened from disk, median of several openings) and the work of one
frame (render in wasm, RGBA conversion, canvas upload; mean of many).
Prints the numbers against the budgets; exits with status 1 when one is
exceeded. Timing is measured here, never asserted in a test.

    web_benchmark.py PAGE.html [PAGE.html ...]
"""

import os
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageDriver  # noqa: E402

SIZE_BUDGET = 450000     # bytes, the demo tour's page
FIRST_FRAME_BUDGET = 300  # ms after navigation
FRAME_BUDGET = 1.0        # ms of work per frame
OPENINGS = 7
FRAMES = 500

FRAME_WORK = """
const tour = window.vistelloTour;
tour.showView(0, 442, 0, 0);
const start = performance.now();
for (let i = 0; i < arguments[0]; i++) tour.redraw();
return (performance.now() - start) / arguments[0];"""


def main(pages):
    over = False
    driver = PageDriver()
    try:
        for index, page in enumerate(pages):
            size = os.path.getsize(page)
            first = []
            for _ in range(OPENINGS):
                driver.open(page)
                first.append(driver.state()["firstFrame"])
            frame = driver.run(FRAME_WORK, FRAMES)
            first_frame = statistics.median(first)
            rows = [("page size", f"{size} bytes ({size / 1024:.1f} KiB)",
                     size <= SIZE_BUDGET if index == 0 else None),
                    ("first frame", f"{first_frame:.0f} ms median "
                     f"({min(first):.0f} .. {max(first):.0f} ms)", first_frame <= FIRST_FRAME_BUDGET),
                    ("frame work", f"{frame:.3f} ms", frame <= FRAME_BUDGET)]
            print(os.path.basename(page))
            for name, value, within in rows:
                verdict = "" if within is None else ("  within budget" if within else "  OVER BUDGET")
                over |= within is False
                print(f"  {name:12} {value}{verdict}")
    finally:
        driver.close()
    return 1 if over else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))
