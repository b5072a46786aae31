// PanoramaController: window, buffers, palette, splash, threads and input
// of the panorama view.
#include "panorama/panorama_controller.h"

#include "resources/resource_ids.h"

namespace {

const char kLoadingText[] = "Loading new scene ...";
const DWORD kRenderPollMs = 30;
const DWORD kAnimationTickMs = 50;
const DWORD kSplashMs = 1000;
const DWORD kThreadStopMs = 1000;

}  // namespace

PanoramaController::PanoramaController(PanoramaOwner* owner)
    : instance(owner->ModuleInstance()),
      owner(owner),
      listener(nullptr),
      drawdib(DrawDibOpen()),
      render_thread_id(0),
      animation_thread_id(0),
      stop_event(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      dirty(true),
      current_scene(nullptr),
      requested_scene(nullptr),
      resize_pending(false),
      frames_drawn(0),
      last_y(0),
      anchor_x(0),
      anchor_y(0),
      dragging(false) {
  class_name[0] = '\0';
  LoadStringA(instance, IDS_PANORAMA_CLASS, class_name, sizeof class_name);
}

PanoramaController::~PanoramaController() {
  if (stop_event.Get() != nullptr) {
    SetEvent(stop_event);
  }
  EndThread(animation_thread);
  EndThread(render_thread);
  stop_event.Reset();
  if (drawdib != nullptr) {
    DrawDibClose(drawdib);
  }
  offscreen.Release();
  pipeline.Clear();
}

// Waits for a worker to end. Messages that the worker sends to this
// (user-interface) thread's windows meanwhile are let through, so a worker
// in the middle of setting the status text is not stuck until the timeout.
// A worker that does not end within a second is terminated.
void PanoramaController::EndThread(KernelHandle& thread) {
  HANDLE handle = thread.Get();
  if (handle == nullptr) {
    return;
  }
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    const DWORD left = elapsed < kThreadStopMs ? kThreadStopMs - elapsed : 0;
    const DWORD result = MsgWaitForMultipleObjects(1, &handle, FALSE, left, QS_SENDMESSAGE);
    if (result == WAIT_OBJECT_0) {
      break;
    }
    if (result == WAIT_OBJECT_0 + 1 && left > 0) {
      MSG message;
      PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
      continue;
    }
    TerminateThread(handle, static_cast<DWORD>(-1));
    break;
  }
  thread.Reset();
}

bool PanoramaController::Create(HWND parent) {
  HWND window = CreateChild(parent, instance, class_name, WS_EX_CLIENTEDGE, ID_PANORAMA);
  if (window == nullptr) {
    return false;
  }
  // Without a stop event the workers could never be ended: none is started,
  // and the view stays blank.
  if (stop_event.Get() == nullptr) {
    return false;
  }
  offscreen.Rebuild(window);
  HalftonePalette();  // made here, once, before any worker can ask for it

  render_thread.Reset(CreateThread(nullptr, 0, RenderLoop, this, 0, &render_thread_id));
  if (render_thread.Get() == nullptr) {
    return false;
  }
  animation_thread.Reset(CreateThread(nullptr, 0, AnimationLoop, this, 0, &animation_thread_id));
  if (animation_thread.Get() == nullptr) {
    return false;
  }
  return Reveal(window);
}

LRESULT PanoramaController::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      resize_pending = true;
      return 0;
    case WM_PAINT: {
      PaintScope paint(window);
      MarkDirty(true);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_KEYDOWN:
      OnKeyDown(wparam);
      return 0;
    case WM_KEYUP:
      OnKeyUp(wparam);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging) {
        OnDrag(MouseX(lparam), MouseY(lparam), wparam);
      }
      return 0;
    case WM_LBUTTONDOWN:
      dragging = true;
      SetCapture(window);
      OnButtonDown(MouseX(lparam), MouseY(lparam));
      return 0;
    case WM_LBUTTONUP:
      dragging = false;
      ReleaseCapture();
      OnButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      dragging = false;
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

// --- motion operations ---------------------------------------------------

void PanoramaController::SetListener(PanListener* new_listener) {
  listener = new_listener;
  if (new_listener != nullptr) {
    new_listener->OnPanSpeedChanged(motion.PanSpeed());
  }
}

void PanoramaController::SetPanSpeed(int speed) {
  motion.SetPanSpeed(speed);
  MarkDirty(true);
  if (PanListener* told = listener.load()) {
    told->OnPanSpeedChanged(motion.PanSpeed());
  }
}

void PanoramaController::SetTiltSpeed(int speed) {
  motion.SetTiltSpeed(speed);
  MarkDirty(true);
}

void PanoramaController::SetZoomLevel(int level) {
  motion.SetZoomLevel(level);
  MarkDirty(true);
}

// Only the animation thread compares the request with the scene shown, so
// a request can never be lost between the two: whatever is asked for last
// is what the view ends on.
void PanoramaController::RequestScene(SceneRecord* scene) {
  if (scene != nullptr) {
    requested_scene = scene;
  }
}

void PanoramaController::MarkDirty(bool value) {
  SectionGuard guard(state_lock);
  dirty = value;
}

bool PanoramaController::TakeDirty() {
  SectionGuard guard(state_lock);
  const bool was = dirty;
  dirty = false;
  return was;
}

// --- worker threads ------------------------------------------------------

DWORD WINAPI PanoramaController::RenderLoop(LPVOID view) {
  static_cast<PanoramaController*>(view)->RunRenderLoop();
  return 0;
}

DWORD WINAPI PanoramaController::AnimationLoop(LPVOID view) {
  static_cast<PanoramaController*>(view)->RunAnimationLoop();
  return 0;
}

bool PanoramaController::StopRequested(DWORD milliseconds) const {
  return WaitForSingleObject(stop_event, milliseconds) != WAIT_TIMEOUT;
}

// Any number of redraw requests between two polls make one frame.
void PanoramaController::RunRenderLoop() {
  do {
    if (TakeDirty()) {
      RenderFrame();
    }
  } while (!StopRequested(kRenderPollMs));
}

// A tick that switches scenes does not also move: the first frame of a
// scene shows it at its switch position (SwitchScene draws it).
void PanoramaController::RunAnimationLoop() {
  motion.RememberPositions();
  do {
    if (resize_pending.load()) {
      ApplyResize();
    }
    SceneRecord* requested = requested_scene.load();
    if (requested != nullptr && requested != current_scene.load()) {
      SwitchScene();
    } else if (current_scene.load() != nullptr && motion.Advance(pipeline.Zoom())) {
      MarkDirty(true);
    }
  } while (!StopRequested(kAnimationTickMs));
}

// --- scene and frame work ------------------------------------------------

void PanoramaController::SwitchScene() {
  SectionGuard guard(scene_lock);
  if (!ShowLoading(kLoadingText)) {
    return;  // the view is being destroyed; its owner's windows may no longer answer
  }
  // The latest request wins, also one made during the splash -- even one
  // for the scene that was shown before it.
  SceneRecord* scene = requested_scene.load();
  current_scene = scene;
  PrepareScene();
  if (!pipeline.IsPrepared()) {
    ShowEmpty();
  }
  // A zoom button held across the switch does not zoom the new scene.
  StopZoom();
  SetZoomLevel(0);
  motion.SetPan(motion.WidenedWidth() / 3 - CylinderProjection::kOutputWidth / 2);
  LookRight();
  SetTiltSpeed(0);
  RealizeHalftone(GetForegroundWindow() == owner->MainWindow());
  // The first frame replaces the splash at once, still under the lock: left
  // to the render thread's next poll, on a busy machine it could come after
  // the next tick had already moved the view on, and the scene would never
  // be seen at its switch position. The title follows the picture.
  RenderFrame();
  owner->SetStatusText(scene->Title());
}

// A new buffer of the window's size; the scene, its tables and its pan stay.
void PanoramaController::ApplyResize() {
  SectionGuard guard(scene_lock);
  if (TakeResize() && current_scene.load() != nullptr && !pipeline.IsPrepared()) {
    ShowEmpty();
  }
  MarkDirty(true);
}

// Rebuilds the off-screen buffer when a resize is pending; scene_lock held.
bool PanoramaController::TakeResize() {
  if (!resize_pending.exchange(false)) {
    return false;
  }
  offscreen.Rebuild(Window());
  return true;
}

// Widens the current scene's strip and builds its tables and frames.
void PanoramaController::PrepareScene() {
  pipeline.Clear();
  SceneRecord* scene = current_scene.load();
  if (scene == nullptr || scene->Bitmap() == nullptr || !pipeline.Prepare(*scene->Bitmap())) {
    return;
  }
  motion.SetStrip(pipeline.Margin(), pipeline.WidenedWidth());
}

// A scene that could not be prepared (no memory) shows an empty view rather
// than stale pixels.
void PanoramaController::ShowEmpty() {
  if (HDC dc = offscreen.Dc()) {
    RECT client;
    GetClientRect(Window(), &client);
    FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    PresentToWindow();
  }
}

void PanoramaController::RenderFrame() {
  SectionGuard guard(scene_lock);
  if (current_scene.load() == nullptr || !pipeline.IsPrepared()) {
    return;
  }
  pipeline.Render(motion.Pan(), motion.Tilt(), motion.ZoomLevel());
  HDC dc = offscreen.Dc();
  if (dc == nullptr) {
    return;
  }
  {
    SectionGuard drawing(drawdib_lock);
    if (drawdib == nullptr) {
      return;
    }
    DrawDibRealize(drawdib, dc, TRUE);
    // One to one, never stretched: a client area smaller than the frame
    // clips it at the right and bottom.
    const SceneBitmap& frame = pipeline.Zoomed();
    DrawDibDraw(drawdib, dc, 0, 0, frame.Width(), frame.Height(), frame.Header(), frame.Bits(), 0,
                0, frame.Width(), frame.Height(), 0);
  }
  frames_drawn++;
  PresentToWindow();
}

void PanoramaController::Present(HDC target) {
  RECT client;
  GetClientRect(Window(), &client);
  SectionGuard guard(scene_lock);
  HDC source = offscreen.Dc();
  if (source == nullptr) {
    FillRect(target, &client, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    return;
  }
  SelectedPalette halftone(target, HalftonePalette(), true);
  RealizePalette(target);
  BitBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
}

void PanoramaController::PresentToWindow() {
  WindowDC window_dc(Window());
  Present(window_dc);
}

// Shows the splash for a second; false when the view is being destroyed
// meanwhile. A resize that arrives before or during the splash rebuilds the
// buffer and draws the splash again, centred in the new size, and the splash
// goes to the screen again at every tick, so a window shown during the
// splash shows it too.
bool PanoramaController::ShowLoading(const char* text) {
  if (text != nullptr) {
    owner->SetStatusText(text);
  }
  const DWORD start = GetTickCount();
  bool drawn = false;
  for (;;) {
    if (TakeResize() || !drawn) {
      DrawSplash();
      drawn = true;
    }
    if (offscreen.Dc() != nullptr) {
      PresentToWindow();
    }
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kSplashMs) {
      return true;
    }
    const DWORD left = kSplashMs - elapsed;
    if (StopRequested(left < kAnimationTickMs ? left : kAnimationTickMs)) {
      return false;
    }
  }
}

// The splash picture centred on white in the off-screen buffer.
void PanoramaController::DrawSplash() {
  if (HDC dc = offscreen.Dc()) {
    RECT client;
    GetClientRect(Window(), &client);
    {
      GdiObject<HBRUSH> white(CreateSolidBrush(RGB(255, 255, 255)));
      FillRect(dc, &client, white);
    }
    GdiObject<HPALETTE> halftone(CreateHalftonePalette(dc));
    {
      SelectedPalette selected(dc, halftone, false, false);
      RealizePalette(dc);
      GdiObject<HBITMAP> splash(static_cast<HBITMAP>(LoadImageA(
          instance, MAKEINTRESOURCEA(IDB_SPLASH), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
      if (splash.Get() != nullptr) {
        BITMAP size = {};
        GetObjectA(splash, sizeof size, &size);
        MemoryDC source(dc);
        SelectedObject picture(source, splash);
        BitBlt(dc, (client.right - size.bmWidth) / 2, (client.bottom - size.bmHeight) / 2,
               size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
      }
    }
    RealizePalette(dc);
  }
}

HPALETTE PanoramaController::HalftonePalette() {
  return palette.For(Window());
}

UINT PanoramaController::RealizeHalftone(bool foreground) {
  // Without a window there is nothing to realise into; GetDC and
  // InvalidateRect of a null window would reach the whole screen.
  if (Window() == nullptr) {
    return 0;
  }
  WindowDC dc(Window());
  UINT changed = 0;
  {
    SectionGuard drawing(drawdib_lock);
    if (drawdib != nullptr) {
      DrawDibSetPalette(drawdib, HalftonePalette());
      changed = DrawDibRealize(drawdib, dc, foreground ? FALSE : TRUE);
    }
  }
  SelectedPalette selected(dc, HalftonePalette(), !foreground);
  RealizePalette(dc);
  if (changed != 0) {
    InvalidateRect(Window(), nullptr, TRUE);
  }
  return changed;
}

// --- input ---------------------------------------------------------------

void PanoramaController::OnKeyDown(WPARAM key) {
  switch (key) {
    case VK_PRIOR:
      ZoomInStep();
      break;
    case VK_NEXT:
      ZoomOutStep();
      break;
    case VK_HOME:
      SetZoomLevel(0);
      break;
    case VK_LEFT:
      LookLeft();
      break;
    case VK_RIGHT:
      LookRight();
      break;
    case VK_UP:
      LookUp();
      break;
    case VK_DOWN:
      LookDown();
      break;
    default:
      break;
  }
}

// Releasing an arrow stops that motion altogether, auto-panning included.
void PanoramaController::OnKeyUp(WPARAM key) {
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
      Stop();
      break;
    case VK_UP:
    case VK_DOWN:
      StopTilt();
      break;
    default:
      break;
  }
}

void PanoramaController::OnButtonDown(int x, int y) {
  anchor_x = x;
  anchor_y = y;
  last_y = y;
}

// A drag moves the view towards the pointer's offset from where the button
// went down, faster the farther it is. With Shift it zooms instead: one
// level per pixel of vertical movement, upwards zooming in.
void PanoramaController::OnDrag(int x, int y, WPARAM keys) {
  if (keys & MK_SHIFT) {
    SetZoomLevel(motion.ZoomLevel() + last_y - y);
    anchor_x = x;
    StopTilt();
    Stop();
  } else {
    SetTiltSpeed(y - anchor_y);
    SetPanSpeed(x - anchor_x);
  }
  last_y = y;
}

void PanoramaController::OnButtonUp() {
  Stop();
  StopTilt();
  MarkDirty(true);
}
