// PanoramaController: the panorama view. A child window that shows the
// current scene as a 320-column perspective view, moving by itself and
// under the user's hand, with an off-screen buffer, the halftone palette,
// the "Loading new scene ..." splash and two worker threads:
//
//   render thread     every 30 ms: when the redraw flag is set, project,
//                     zoom and draw one frame;
//   animation thread  every 50 ms: apply a pending resize, switch to the
//                     requested scene, turn speeds into positions.
//
// Locks, in the only order they are ever nested:
//   scene_lock    scene data, tables, frames, the off-screen buffer and all
//                 drawing; held by the animation thread for a whole scene
//                 switch (splash included) and by the render thread per frame.
//   drawdib_lock  the DrawDib handle; held only around DrawDib calls, never
//                 while sending a message.
//   state_lock    the redraw flag only; never held while taking another lock.
// The user-interface thread never waits for scene_lock: while holding it the
// animation thread sends messages to that thread's windows (status text,
// toolbar states). So WM_PAINT only sets the redraw flag and WM_SIZE hands
// the buffer rebuild to the animation thread.
//
// A resize only rebuilds the off-screen buffer: the frame does not depend on
// the window's size, so the scene's tables and its pan stay as they are.
// The first layout of the owner may come before, during or after the first
// scene switch; whichever it is, the splash is drawn centred in the buffer
// of the final size and the scene starts at its switch position.
#ifndef VISTELLO_PANORAMA_PANORAMA_CONTROLLER_H
#define VISTELLO_PANORAMA_PANORAMA_CONTROLLER_H

#include <windows.h>

#include <vfw.h>

#include <atomic>

#include "app/child_window.h"
#include "panorama/motion_model.h"
#include "panorama/offscreen_buffer.h"
#include "panorama/pan_listener.h"
#include "panorama/panorama_owner.h"
#include "panorama/section_lock.h"
#include "panorama/view_pipeline.h"
#include "tour/scene_record.h"
#include "win32/scoped_handles.h"

class PanoramaController : public ChildWindow {
 public:
  // Opens DrawDib, loads the class name and creates the stop event; no
  // window or thread exists yet.
  explicit PanoramaController(PanoramaOwner* owner);
  // Stops both threads (waiting at most one second for each, terminating
  // one that does not end), then frees everything. The window itself goes
  // with its parent.
  ~PanoramaController() override;

  // Registers the class, creates the window (child id ID_PANORAMA), makes
  // the off-screen buffer and starts both threads. False when the window,
  // the stop event or either thread could not be made.
  bool Create(HWND parent);

  LRESULT WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) override;

  // Realises the halftone palette through DrawDib and in the window's DC;
  // returns the number of entries DrawDib changed (the view is then
  // repainted). Background unless foreground is true.
  UINT RealizeHalftone(bool foreground);

  // Asks the animation thread to show scene. The latest request always
  // wins: one made during a switch's splash is the scene the switch ends
  // on, even when it is the scene shown before the switch began. A request
  // for the scene shown, with no switch under way, does nothing.
  void RequestScene(SceneRecord* scene);

  // Stores the listener and tells it the current pan speed at once.
  void SetListener(PanListener* listener);

  // Motion: the user-interface thread's operations. Speeds and the zoom
  // level are limited by MotionModel; every change but the zoom speed asks
  // for a new frame, and every pan speed change is reported to the listener.
  void SetPanSpeed(int speed);
  void LookLeft() { SetPanSpeed(-motion.PanStep()); }
  void LookRight() { SetPanSpeed(motion.PanStep()); }
  void Stop() { SetPanSpeed(0); }
  int PanSpeed() const { return motion.PanSpeed(); }
  void SetTiltSpeed(int speed);
  void LookUp() { SetTiltSpeed(-MotionModel::kTiltStep); }
  void LookDown() { SetTiltSpeed(MotionModel::kTiltStep); }
  void StopTilt() { SetTiltSpeed(0); }
  int TiltSpeed() const { return motion.TiltSpeed(); }
  void SetZoomLevel(int level);
  void ZoomInStep() { SetZoomLevel(motion.ZoomLevel() + 1); }
  void ZoomOutStep() { SetZoomLevel(motion.ZoomLevel() - 1); }
  int ZoomLevel() const { return motion.ZoomLevel(); }
  void SetZoomSpeed(int speed) { motion.SetZoomSpeed(speed); }
  void StartZoomIn() { SetZoomSpeed(1); }
  void StartZoomOut() { SetZoomSpeed(-1); }
  void StopZoom() { SetZoomSpeed(0); }
  int ZoomSpeed() const { return motion.ZoomSpeed(); }

  // The redraw flag, under state_lock.
  void MarkDirty(bool value);
  bool TakeDirty();

  // What the view shows now, for the owner and for tests.
  SceneRecord* CurrentScene() const { return current_scene.load(); }
  int Pan() const { return motion.Pan(); }
  int Tilt() const { return motion.Tilt(); }
  int Margin() const { return motion.Margin(); }
  int WidenedWidth() const { return motion.WidenedWidth(); }
  int FrameWidth() const { return pipeline.FrameWidth(); }
  int FrameHeight() const { return pipeline.FrameHeight(); }
  // Frames the render thread has drawn since the view was made.
  LONG FramesDrawn() const { return frames_drawn.load(); }
  DWORD RenderThreadId() const { return render_thread_id; }
  DWORD AnimationThreadId() const { return animation_thread_id; }

 private:
  static DWORD WINAPI RenderLoop(LPVOID view);
  static DWORD WINAPI AnimationLoop(LPVOID view);
  void RunRenderLoop();
  void RunAnimationLoop();
  // Waits up to milliseconds for the stop event; true when it is set.
  bool StopRequested(DWORD milliseconds) const;
  void EndThread(KernelHandle& thread);

  // Scene and frame work; each runs with scene_lock held.
  void SwitchScene();
  void ApplyResize();
  bool TakeResize();
  void PrepareScene();
  void ShowEmpty();
  void RenderFrame();
  void Present(HDC target);
  void PresentToWindow();
  bool ShowLoading(const char* text);
  void DrawSplash();
  HPALETTE HalftonePalette();

  // Input on the view (user-interface thread).
  void OnKeyDown(WPARAM key);
  void OnKeyUp(WPARAM key);
  void OnButtonDown(int x, int y);
  void OnDrag(int x, int y, WPARAM keys);
  void OnButtonUp();

  HINSTANCE instance;
  PanoramaOwner* owner;                // not owned
  std::atomic<PanListener*> listener;  // not owned, may be null
  HalftonePaletteHolder palette;       // made in Create, shared with DrawDib
  HDRAWDIB drawdib;                    // owned; null when DrawDib is unavailable
  KernelHandle render_thread;
  DWORD render_thread_id;
  KernelHandle animation_thread;
  DWORD animation_thread_id;
  KernelHandle stop_event;  // manual reset: one Set ends both loops
  bool dirty;               // guarded by state_lock
  SectionLock state_lock;
  SectionLock scene_lock;
  SectionLock drawdib_lock;
  std::atomic<SceneRecord*> current_scene;    // not owned; null until the first switch
  std::atomic<SceneRecord*> requested_scene;  // not owned; the latest request, or null
  std::atomic<bool> resize_pending;           // WM_SIZE work for the animation thread
  std::atomic<LONG> frames_drawn;
  char class_name[150];
  MotionModel motion;
  // Drag state, user-interface thread only.
  int last_y;
  int anchor_x;
  int anchor_y;
  bool dragging;
  OffscreenBuffer offscreen;
  // The current scene's widened strip, projection and zoom tables and the
  // projected and zoomed frames (320 x h); the zoomed one is drawn by DrawDib.
  ViewPipeline pipeline;
};

#endif  // VISTELLO_PANORAMA_PANORAMA_CONTROLLER_H
