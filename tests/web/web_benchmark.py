"""Measures the web edition's budgets in headless Chromium: the size of
each page, the time from navigation to the first frame of the first scene
(page opened from disk, median of several openings), the work of one
frame (render in wasm, RGBA conversion, canvas upload; median of batches)
and the first page's work while the view is stopped (the renderer's main
thread over --idle seconds, 60 by default; 0 leaves it out). Prints the
numbers against the budgets; exits with status 1 when one is exceeded.
Timing is measured here, never asserted in a test.

    web_benchmark.py [--idle SECONDS] PAGE.html [PAGE.html ...]
"""

import argparse
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from page_driver import PageDriver  # noqa: E402

SIZE_BUDGET = 450000     # bytes, the demo tour's page
FIRST_FRAME_BUDGET = 300  # ms after navigation
FRAME_BUDGET = 1.0        # ms of work per frame
IDLE_BUDGET = 0.1         # % of a core while the view is stopped
OPENINGS = 7
BATCHES = 15
FRAMES = 100  # per batch

# The mean frame time of each batch; the machine is shared, so the median
# batch is reported, with the fastest and slowest.
FRAME_WORK = """
const tour = window.vistelloTour;
tour.showView(0, 442, 0, 0);
const batches = [];
for (let b = 0; b < arguments[0]; b++) {
  const start = performance.now();
  for (let i = 0; i < arguments[1]; i++) tour.redraw();
  batches.push((performance.now() - start) / arguments[1]);
}
return batches;"""


def task_seconds(driver):
    """The renderer's main-thread work since the page opened, in seconds."""
    metrics = driver.driver.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]
    return next(m["value"] for m in metrics if m["name"] == "TaskDuration")


def idle_work(page, seconds):
    """Per cent of a core the page uses over `seconds` after Stop, in a
    browser of its own: the pages opened before would be collected meanwhile."""
    driver = PageDriver()
    try:
        driver.open(page)
        driver.driver.execute_cdp_cmd("Performance.enable", {})
        driver.run("document.querySelector('.tool[data-command=\"stop\"]').click()")
        time.sleep(1)  # the last frame drawn
        start, busy = time.monotonic(), task_seconds(driver)
        time.sleep(seconds)
        return 100 * (task_seconds(driver) - busy) / (time.monotonic() - start)
    finally:
        driver.close()


def main(pages, idle_seconds):
    over = False
    driver = PageDriver()
    try:
        for index, page in enumerate(pages):
            size = os.path.getsize(page)
            first = []
            for _ in range(OPENINGS):
                driver.open(page)
                first.append(driver.state()["firstFrame"])
            batches = driver.run(FRAME_WORK, BATCHES, FRAMES)
            frame = statistics.median(batches)
            first_frame = statistics.median(first)
            rows = [("page size", f"{size} bytes ({size / 1024:.1f} KiB)",
                     size <= SIZE_BUDGET if index == 0 else None),
                    ("first frame", f"{first_frame:.0f} ms median "
                     f"({min(first):.0f} .. {max(first):.0f} ms)", first_frame <= FIRST_FRAME_BUDGET),
                    ("frame work", f"{frame:.3f} ms median of {BATCHES} x {FRAMES} frames "
                     f"({min(batches):.3f} .. {max(batches):.3f} ms)", frame <= FRAME_BUDGET)]
            if index == 0 and idle_seconds > 0:
                idle = idle_work(page, idle_seconds)
                rows.append(("stopped", f"{idle:.3f} % of a core over {idle_seconds} s",
                             idle <= IDLE_BUDGET))
            # Pages are built as tours/<tour>/page/tour.html: name them by their tour.
            print(os.path.relpath(page, os.path.dirname(os.path.dirname(os.path.dirname(page)))))
            for name, value, within in rows:
                verdict = "" if within is None else ("  within budget" if within else "  OVER BUDGET")
                over |= within is False
                print(f"  {name:12} {value}{verdict}")
    finally:
        driver.close()
    return 1 if over else 0


if __name__ == "__main__":
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--idle", type=int, default=60, metavar="SECONDS")
    parser.add_argument("pages", nargs="+", metavar="PAGE.html")
    args = parser.parse_args()
    sys.exit(main(args.pages, args.idle))
