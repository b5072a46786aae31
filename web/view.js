// PanoramaView: the page's renderer. The portable core in WebAssembly
// decodes a scene and renders each frame into one RGBA buffer in wasm
// memory; this object shows that buffer on a canvas through an ImageData
// that views the buffer directly (no copy and no allocation per frame),
// draws the "Loading" splash, and sizes the canvas to the page.
//
// The canvas always holds exactly one frame, pixel for pixel (320 x h);
// enlarging is left to CSS, so what the canvas holds is what the
// executable draws.
class PanoramaView {
  // core: the instantiated core module; canvas: the view's canvas; scenes:
  // base64 JPEGs; splash: a loaded <img>.
  constructor(core, canvas, scenes, splash) {
    this.core = core;
    this.canvas = canvas;
    this.context = canvas.getContext('2d', {alpha: false});
    this.scenes = scenes;
    this.splash = splash;
    this.image = null;  // ImageData over the core's frame, null when nothing is prepared
  }

  // Decodes and prepares scene `index`; the core also resets zoom, pan and
  // tilt speed as a scene switch does. False when it cannot be shown.
  prepare(index) {
    this.image = null;
    const jpeg = atob(this.scenes[index]);
    const input = this.core._vt_input(jpeg.length);
    if (!input) {
      return false;
    }
    const heap = this.core.HEAPU8;
    for (let i = 0; i < jpeg.length; i++) {
      heap[input + i] = jpeg.charCodeAt(i);
    }
    let prepared = false;
    try {
      prepared = this.core._vt_prepare(jpeg.length) === 1;
    } catch (failure) {
      // The decoder ends with an exit status on an image it cannot read.
      prepared = false;
    }
    if (!prepared) {
      return false;
    }
    const width = this.core._vt_frame_width();
    const height = this.core._vt_frame_height();
    if (this.canvas.width !== width || this.canvas.height !== height) {
      this.canvas.width = width;
      this.canvas.height = height;
    }
    this.attach();
    return true;
  }

  // (Re)makes the ImageData over the frame buffer: needed after a
  // preparation, which may move the buffer or grow (and so replace) the
  // wasm memory.
  attach() {
    const width = this.core._vt_frame_width();
    const height = this.core._vt_frame_height();
    const pixels = new Uint8ClampedArray(
        this.core.HEAPU8.buffer, this.core._vt_frame(), 4 * width * height);
    this.image = new ImageData(pixels, width, height);
  }

  // Renders the current pan, tilt and zoom level and shows it.
  draw() {
    if (this.image === null) {
      return false;
    }
    this.core._vt_render();
    if (this.image.data.length === 0) {
      this.attach();  // the memory grew since: the old view is detached
    }
    this.context.putImageData(this.image, 0, 0);
    return true;
  }

  // The "Loading" picture centred on white, as the executable shows it
  // while it switches scenes.
  showSplash() {
    const {width, height} = this.canvas;
    this.context.fillStyle = '#fff';
    this.context.fillRect(0, 0, width, height);
    if (this.splash.complete && this.splash.naturalWidth > 0) {
      this.context.drawImage(
          this.splash, Math.trunc((width - this.splash.naturalWidth) / 2),
          Math.trunc((height - this.splash.naturalHeight) / 2));
    }
  }

  // An empty view, when a scene cannot be prepared.
  clear() {
    this.image = null;
    this.context.fillStyle = '#fff';
    this.context.fillRect(0, 0, this.canvas.width, this.canvas.height);
  }

  // Shows the frame `scale` times enlarged (CSS pixels per frame pixel):
  // pixel for pixel, or smoothed when the scale is not a whole number of
  // device pixels.
  setScale(scale, smooth) {
    this.canvas.style.width = `${this.canvas.width * scale}px`;
    this.canvas.style.height = `${this.canvas.height * scale}px`;
    this.canvas.classList.toggle('smooth', smooth);
  }

  // A pointer position in frame pixels (whole numbers, as the executable's
  // client coordinates are).
  framePoint(event) {
    const box = this.canvas.getBoundingClientRect();
    return {
      x: Math.floor((event.clientX - box.left) * this.canvas.width / box.width),
      y: Math.floor((event.clientY - box.top) * this.canvas.height / box.height),
    };
  }
}
