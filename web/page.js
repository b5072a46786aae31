// TourPage: the window around the view, as a page -- toolbar, menu, scene
// list, presenter lines, status line, e-commerce panel, logo and dialogs --
// with the executable's keys, mouse and commands, plus touch. It is driven
// by the tour's configuration (the JSON element "tour") and by one
// requestAnimationFrame loop that runs the 20 Hz motion tick and draws
// only when something moved; input handlers only change the motion state.

const LOADING_TEXT = 'Loading new scene ...';
const VISIT_TEXT = 'Visit Orvo(tm) Website';
const TICK_MS = 50;       // the animation tick: twenty a second
const SPLASH_MS = 1000;   // the splash stays one second at every scene switch
const PAN_STEP = 4;       // look left / look right
const TILT_STEP = 8;      // look up / look down
const ZOOM_RATIO = Math.pow(3, 1 / 20);  // one zoom level: 3x in 20 levels
const NARROW_PAGE = 600;  // below this width the column goes under the view

// Keys of the view, as in the executable: a key-down starts, an arrow's
// key-up stops that motion (auto-pan included).
const KEY_DOWN = {
  PageUp: (page) => page.zoomBy(1),
  PageDown: (page) => page.zoomBy(-1),
  Home: (page) => page.setZoom(0),
  ArrowLeft: (page) => page.setPanSpeed(-PAN_STEP),
  ArrowRight: (page) => page.setPanSpeed(PAN_STEP),
  ArrowUp: (page) => page.setTiltSpeed(-TILT_STEP),
  ArrowDown: (page) => page.setTiltSpeed(TILT_STEP),
};
const KEY_UP = {
  ArrowLeft: (page) => page.setPanSpeed(0),
  ArrowRight: (page) => page.setPanSpeed(0),
  ArrowUp: (page) => page.setTiltSpeed(0),
  ArrowDown: (page) => page.setTiltSpeed(0),
};

// Toolbar and menu commands.
const COMMANDS = {
  'left': (page) => page.setPanSpeed(-PAN_STEP),
  'stop': (page) => page.setPanSpeed(0),
  'right': (page) => page.setPanSpeed(PAN_STEP),
  'zoom-in': (page) => page.zoomBy(1),
  'zoom-out': (page) => page.zoomBy(-1),
  'contact': (page) => page.openDialog('contact-dialog'),
  'send': (page) => page.openSend(),
  'help': (page) => page.openDialog('help-dialog'),
  'about-maker': (page) => page.openDialog('about-maker-dialog'),
  'about': (page) => page.openDialog('about-dialog'),
};
// Zoom speed while a zoom button is held down.
const HELD = {'zoom-in': 1, 'zoom-out': -1};

const byId = (id) => document.getElementById(id);

class TourPage {
  constructor(config, core, source) {
    this.config = config;
    this.core = core;
    this.source = source;  // the page as it arrived, for "Save a copy"
    const splash = new Image();
    splash.src = config.art.splash.uri;
    this.view = new PanoramaView(core, byId('view'), config.scenes.map((s) => s.jpeg), splash,
                                 config.scale === 'smooth');
    this.status = byId('status');
    this.list = byId('scenes');
    this.current = -1;        // the scene shown
    this.pending = -1;        // a requested scene not switched to yet
    this.selected = -1;       // the list's choice: status title and link query
    this.loadingUntil = 0;    // end of the splash while a switch is under way
    this.nextTick = 0;
    this.dirty = false;
    this.drag = null;         // {anchorX, anchorY, lastY} while the button or a finger is down
    this.touches = new Map();  // pointer id -> {x, y} of each finger on the view
    this.pinch = null;        // {distance, level} while two fingers are down
    this.heldZoom = false;
    this.pickedWithPointer = false;
    this.firstFrame = null;   // ms after navigation when the first scene frame was shown
    this.saveUrl = null;
    this.reducedMotion = window.matchMedia('(prefers-reduced-motion: reduce)');
  }

  start() {
    this.fill();
    this.bind();
    this.layout();
    this.core._vt_remember_positions();
    // The first scene comes without the splash: the reader has just opened
    // the page, there is nothing to replace.
    this.select(0);
    this.pending = -1;
    this.switchTo(0);
    this.drawNow();
    this.view.canvas.focus({preventScroll: true});
    const loop = (now) => {
      this.frame(now);
      window.requestAnimationFrame(loop);
    };
    window.requestAnimationFrame(loop);
  }

  // --- the tour's content ---------------------------------------------------

  fill() {
    const {config} = this;
    const {art, texts, presenter} = config;
    document.querySelectorAll('.tool').forEach((button) => {
      button.style.backgroundImage = `url("${art.toolbar.uri}")`;
      button.style.backgroundPosition = `${-40 * Number(button.dataset.image)}px 0`;
    });
    const hand = `url("${art.hand_cursor}") 6 0, pointer`;
    const badge = byId('badge');
    badge.firstElementChild.src = art.badge.uri;
    badge.style.cursor = hand;
    byId('location').textContent = presenter.location;
    byId('listing').textContent = presenter.listing;
    byId('presenter-name').textContent = presenter.name;
    byId('presenter-company').textContent = presenter.company;
    config.scenes.forEach((scene) => this.list.add(new Option(scene.title)));
    if (art.logo) {
      const logo = byId('logo');
      logo.src = art.logo.uri;
      logo.hidden = false;
    }
    if (art.panel) {
      const panel = byId('panel');
      const image = byId('panel-image');
      image.src = art.panel.uri;
      panel.hidden = false;
      const {width, height} = art.panel;
      config.hot_spots.forEach((spot, index) => {
        // Edges are outside a spot: pixels left + 1 .. right - 1. The
        // lowest-numbered spot wins where spots overlap.
        const [left, top, right, bottom] = spot.rect;
        const link = document.createElement('a');
        link.className = 'spot';
        link.target = '_blank';
        link.rel = 'noopener';
        link.dataset.index = index;
        link.style.left = `${100 * (left + 1) / width}%`;
        link.style.top = `${100 * (top + 1) / height}%`;
        link.style.width = `${100 * Math.max(0, right - left - 1) / width}%`;
        link.style.height = `${100 * Math.max(0, bottom - top - 1) / height}%`;
        link.style.zIndex = String(config.hot_spots.length - index);
        link.style.cursor = hand;
        link.setAttribute('aria-label', spot.status || spot.link);
        panel.appendChild(link);
      });
    }

    byId('contact-caption').textContent = texts.contact.caption;
    byId('contact-presented-by').textContent = texts.contact.texts[0] || '';
    byId('contact-name').textContent = presenter.name;
    byId('contact-company').textContent = presenter.company;
    byId('contact-phone').textContent = presenter.phone;
    byId('contact-email').textContent = presenter.email;
    byId('contact-location').textContent = presenter.location;
    byId('contact-listing').textContent = presenter.listing;
    byId('help-caption').textContent = texts.help_dialog.caption;
    byId('help-text').value = texts.help;
    byId('about-maker-caption').textContent = texts.about_maker_dialog.caption;
    byId('about-maker-heading').textContent = texts.about_maker_dialog.texts[0] || '';
    byId('about-maker-text').value = texts.about_maker;
    byId('about-caption').textContent = texts.about.caption;
    byId('about-icon').src = art.icon;
    texts.about.texts.forEach((line) => {
      const row = document.createElement('div');
      row.textContent = line;
      byId('about-lines').appendChild(row);
    });
    byId('send-icon').src = art.info_icon;
    byId('write-mail').href = 'mailto:?subject=' + encodeURIComponent(texts.mail_subject) +
        '&body=' + encodeURIComponent(config.mail_body);
  }

  // --- input ------------------------------------------------------------------

  bind() {
    const canvas = this.view.canvas;
    canvas.addEventListener('keydown', (event) => this.key(KEY_DOWN, event));
    canvas.addEventListener('keyup', (event) => this.key(KEY_UP, event));
    canvas.addEventListener('pointerdown', (event) => this.pointerDown(event));
    canvas.addEventListener('pointermove', (event) => this.pointerMove(event));
    canvas.addEventListener('pointerup', (event) => this.pointerUp(event));
    canvas.addEventListener('pointercancel', (event) => this.pointerUp(event));
    canvas.addEventListener('lostpointercapture', (event) => {
      // As when the executable loses the capture: the drag ends, the speeds stay.
      if (event.pointerType !== 'touch') {
        this.drag = null;
      }
    });

    document.querySelectorAll('[data-command]').forEach((button) => {
      const command = button.dataset.command;
      button.addEventListener('click', () => COMMANDS[command](this));
      if (command in HELD) {
        button.addEventListener('pointerdown', (event) => {
          if (event.button === 0) {
            this.heldZoom = true;
            this.core._vt_set_zoom_speed(HELD[command]);
          }
        });
      }
    });
    const releaseZoom = () => {
      if (this.heldZoom) {
        this.heldZoom = false;
        this.core._vt_set_zoom_speed(0);
      }
    };
    window.addEventListener('pointerup', releaseZoom);
    window.addEventListener('pointercancel', releaseZoom);
    window.addEventListener('blur', releaseZoom);

    this.list.addEventListener('pointerdown', () => {
      this.pickedWithPointer = true;
    });
    this.list.addEventListener('change', () => {
      if (this.list.selectedIndex >= 0) {
        this.select(this.list.selectedIndex);
      }
      // A pick with the mouse hands the keys back to the view, as in the
      // executable; from the keyboard the list keeps them, so the reader can
      // go on through it (Enter then moves to the view).
      if (this.pickedWithPointer) {
        canvas.focus({preventScroll: true});
      }
      this.pickedWithPointer = false;
    });
    this.list.addEventListener('keydown', (event) => {
      this.pickedWithPointer = false;
      if (event.key === 'Enter') {
        canvas.focus({preventScroll: true});
      }
    });

    // Hover texts in the status line, as the executable's toolbar, panel
    // and bare window show them; focus shows the same for keyboard readers.
    const badge = byId('badge');
    badge.addEventListener('focus', () => this.setStatus(VISIT_TEXT));
    badge.addEventListener('blur', () => this.restoreStatus());
    window.addEventListener('pointermove', (event) => this.hover(event.target));
    document.querySelectorAll('.spot').forEach((spot) => {
      spot.addEventListener('focus', () => this.hover(spot));
      spot.addEventListener('blur', () => this.restoreStatus());
    });

    // Links that act as buttons (the badge, the hot spots, the mail and the
    // copy) answer Space as well as Enter.
    document.addEventListener('keydown', (event) => {
      const link = event.target instanceof Element && event.target.closest('a[href]');
      if (link && event.key === ' ') {
        event.preventDefault();
        link.click();
      }
    });
    document.querySelectorAll('dialog .close').forEach((button) => {
      button.addEventListener('click', () => button.closest('dialog').close());
    });
    window.addEventListener('resize', () => this.layout());
  }

  key(table, event) {
    const action = table[event.key];
    if (action === undefined || event.altKey || event.ctrlKey || event.metaKey) {
      return;
    }
    event.preventDefault();  // the page itself must not scroll
    action(this);
  }

  pointerDown(event) {
    const point = this.view.framePoint(event);
    if (event.pointerType === 'touch') {
      this.touches.set(event.pointerId, point);
      if (this.touches.size === 2) {
        // Two fingers: pinch to zoom; the drag ends and the view holds still.
        this.drag = null;
        this.pinch = {distance: this.fingerDistance(), level: this.core._vt_zoom_level()};
        this.setPanSpeed(0);
        this.setTiltSpeed(0);
        return;
      }
      if (this.touches.size > 2 || this.pinch !== null) {
        return;
      }
    } else if (event.button !== 0) {
      return;
    }
    this.view.canvas.setPointerCapture(event.pointerId);
    this.drag = {anchorX: point.x, anchorY: point.y, lastY: point.y};
  }

  // The executable's drag: the view moves towards the pointer's offset from
  // where it went down, faster the farther; with Shift, each pixel up zooms
  // in one level and each pixel down zooms out.
  pointerMove(event) {
    const point = this.view.framePoint(event);
    if (event.pointerType === 'touch' && this.touches.has(event.pointerId)) {
      this.touches.set(event.pointerId, point);
      if (this.pinch !== null) {
        const steps = Math.log(this.fingerDistance() / this.pinch.distance) / Math.log(ZOOM_RATIO);
        const level = this.pinch.level + Math.round(steps);
        if (level !== this.core._vt_zoom_level()) {
          this.setZoom(level);
        }
        return;
      }
    }
    const drag = this.drag;
    if (drag === null) {
      return;
    }
    if (event.shiftKey) {
      this.setZoom(this.core._vt_zoom_level() + drag.lastY - point.y);
      drag.anchorX = point.x;
      this.setTiltSpeed(0);
      this.setPanSpeed(0);
    } else {
      this.setTiltSpeed(point.y - drag.anchorY);
      this.setPanSpeed(point.x - drag.anchorX);
    }
    drag.lastY = point.y;
  }

  pointerUp(event) {
    if (event.pointerType === 'touch') {
      this.touches.delete(event.pointerId);
      if (this.pinch !== null) {
        // The pinch is over; a finger left behind does not start a drag.
        if (this.touches.size < 2) {
          this.pinch = null;
        }
        return;
      }
      if (this.touches.size > 0) {
        return;
      }
    } else if (this.drag === null) {
      return;
    }
    this.drag = null;
    this.setPanSpeed(0);
    this.setTiltSpeed(0);
    this.dirty = true;
  }

  fingerDistance() {
    const [a, b] = [...this.touches.values()];
    return Math.max(1, Math.hypot(a.x - b.x, a.y - b.y));
  }

  hover(target) {
    if (!(target instanceof Element)) {
      return;
    }
    if (target.closest('#badge')) {
      this.setStatus(VISIT_TEXT);
      return;
    }
    const spot = target.closest('.spot');
    if (spot) {
      // A spot without a status text leaves the status line as it is.
      const text = this.config.hot_spots[Number(spot.dataset.index)].status;
      if (text) {
        this.setStatus(text);
      }
      return;
    }
    // The toolbar, the panel and the page's bare areas show the title; the
    // view, the list and the dialogs leave the status line alone.
    if (!target.closest('canvas, select, dialog')) {
      this.restoreStatus();
    }
  }

  // --- motion -------------------------------------------------------------

  // Pan speed changes also show on the toolbar: the button of the current
  // direction looks pressed.
  setPanSpeed(speed) {
    this.core._vt_set_pan_speed(speed);
    this.dirty = true;
    const current = this.core._vt_pan_speed();
    const pressed = {left: current < 0, stop: current === 0, right: current > 0};
    for (const [command, state] of Object.entries(pressed)) {
      document.querySelector(`.tool[data-command="${command}"]`)
          .setAttribute('aria-pressed', String(state));
    }
  }

  setTiltSpeed(speed) {
    this.core._vt_set_tilt_speed(speed);
    this.dirty = true;
  }

  setZoom(level) {
    this.core._vt_set_zoom_level(level);
    this.dirty = true;
  }

  zoomBy(steps) {
    this.setZoom(this.core._vt_zoom_level() + steps);
  }

  // --- scenes ---------------------------------------------------------------

  // The list's choice: the status line shows its title at once, and the
  // scene is switched to at the next tick unless it is already shown.
  select(index) {
    this.selected = index;
    this.list.selectedIndex = index;
    if (index !== this.current) {
      this.pending = index;
    }
    this.setStatus(this.config.scenes[index].title);
    const query = this.config.scenes[index].query;
    document.querySelectorAll('.spot').forEach((spot) => {
      const link = this.config.hot_spots[Number(spot.dataset.index)].link;
      spot.href = query ? `${link}?${query}` : link;
    });
  }

  // Shows scene `index` from its first view: zoom 0, pan W'/3 - 160,
  // panning right unless the reader asked for reduced motion.
  switchTo(index) {
    this.current = index;
    if (!this.view.prepare(index)) {
      this.view.clear();
    }
    this.setPanSpeed(this.reducedMotion.matches ? 0 : PAN_STEP);
    this.setTiltSpeed(0);
    this.setStatus(this.config.scenes[index].title);
  }

  frame(now) {
    if (now - this.nextTick > SPLASH_MS) {
      this.nextTick = now;  // after a long pause (a hidden tab), no burst of ticks
    }
    while (this.nextTick <= now) {
      this.tick(now);
      this.nextTick += TICK_MS;
    }
    if (this.dirty && this.loadingUntil === 0) {
      this.drawNow();
    }
  }

  // One animation tick, as the executable's animation thread: a requested
  // scene is switched to behind the one-second splash, then the view moves.
  tick(now) {
    if (this.loadingUntil !== 0) {
      if (now < this.loadingUntil) {
        return;
      }
      this.loadingUntil = 0;
      // The latest request wins, also one made during the splash.
      const index = this.pending;
      this.pending = -1;
      if (index >= 0) {
        this.switchTo(index);
      }
      this.dirty = true;
    } else if (this.pending >= 0) {
      this.loadingUntil = now + SPLASH_MS;
      this.setStatus(LOADING_TEXT);
      this.view.showSplash();
      return;
    }
    if (this.current >= 0 && this.core._vt_tick()) {
      this.dirty = true;
    }
  }

  drawNow() {
    this.dirty = false;
    if (this.view.draw() && this.firstFrame === null) {
      this.firstFrame = performance.now();
    }
  }

  // --- status line, dialogs, layout -------------------------------------------

  setStatus(text) {
    if (this.status.textContent !== text) {
      this.status.textContent = text;
    }
  }

  restoreStatus() {
    if (this.loadingUntil !== 0) {
      this.setStatus(LOADING_TEXT);
    } else if (this.selected >= 0) {
      this.setStatus(this.config.scenes[this.selected].title);
    }
  }

  openDialog(id) {
    const dialog = byId(id);
    if (!dialog.open) {
      dialog.showModal();
    }
  }

  // A page cannot attach itself to a mail: the dialog offers a copy of the
  // page to save and the mail (subject and body) to write.
  openSend() {
    if (this.saveUrl === null) {
      this.saveUrl = URL.createObjectURL(new Blob([this.source], {type: 'text/html'}));
      const save = byId('save-copy');
      save.href = this.saveUrl;
      save.download = `${this.config.executable}.html`;
    }
    this.openDialog('send-dialog');
  }

  // The view's size: the largest whole number of device pixels per frame
  // pixel (or smoothly, as the tour asks) that fits beside or above the
  // column, with the panel below at the same scale, but never wider than
  // the view and the column together.
  layout() {
    const narrow = window.innerWidth < NARROW_PAGE;
    document.body.classList.toggle('narrow', narrow);
    const content = document.querySelector('.content');
    const style = getComputedStyle(content);
    const gap = parseFloat(style.rowGap) || 0;
    const inner = content.clientWidth - parseFloat(style.paddingLeft) -
                  parseFloat(style.paddingRight);
    const column = document.querySelector('.column').offsetWidth;
    const frame = 2;  // the view's border
    const width = (narrow ? inner : inner - column - gap) - frame;
    const fixed = document.querySelector('.menu').offsetHeight +
                  document.querySelector('.toolbar').offsetHeight + this.status.offsetHeight +
                  parseFloat(style.paddingTop) + parseFloat(style.paddingBottom) + frame;
    let height = window.innerHeight - fixed;
    if (narrow) {
      height = Math.max(200, 0.6 * height);
    }
    const {canvas} = this.view;
    const panel = this.config.art.panel;
    const panelScale = (scale) => {
      const row = narrow ? inner : canvas.width * scale + frame + gap + column;
      return Math.min(scale, row / panel.width);
    };
    const panelHeight = (scale) => panel ? panel.height * panelScale(scale) + gap : 0;
    const ratio = window.devicePixelRatio || 1;
    let scale = 0;
    let smooth = this.config.scale === 'smooth';
    if (!smooth) {
      for (let whole = Math.floor(ratio * width / canvas.width); whole >= 1; whole--) {
        const candidate = whole / ratio;
        if (canvas.height * candidate + panelHeight(candidate) <= height) {
          scale = candidate;
          break;
        }
      }
      smooth = scale === 0;
    }
    if (smooth) {
      scale = Math.min(width / canvas.width, height / canvas.height);
      // Shrink until the panel fits below as well.
      while (scale > 0.25 && canvas.height * scale + panelHeight(scale) > height) {
        scale *= 0.95;
      }
    }
    this.view.setScale(scale, smooth);
    if (panel) {
      const image = byId('panel-image');
      const shown = panelScale(scale);
      image.style.width = `${panel.width * shown}px`;
      image.style.height = `${panel.height * shown}px`;
      const devicePixels = shown * ratio;
      image.classList.toggle('smooth', Math.abs(devicePixels - Math.round(devicePixels)) > 1e-6);
    }
  }

  // What a page embedding the tour, and its tests, may ask and do.
  api() {
    const page = this;
    return {
      state() {
        const core = page.core;
        return {
          scene: page.current,
          selected: page.selected,
          loading: page.loadingUntil !== 0,
          pan: core._vt_pan(),
          tilt: core._vt_tilt(),
          level: core._vt_zoom_level(),
          panSpeed: core._vt_pan_speed(),
          status: page.status.textContent,
          firstFrame: page.firstFrame,
        };
      },
      // Shows a view at once, without the splash, and holds it still: the
      // pan column and tilt as given (the resamplers limit them), the zoom
      // level limited to 0 .. 15.
      showView(scene, pan, tilt, level) {
        page.select(scene);
        page.pending = -1;
        page.loadingUntil = 0;
        page.switchTo(scene);
        page.setPanSpeed(0);
        page.core._vt_set_zoom_speed(0);
        page.setZoom(level);
        page.core._vt_set_view(pan, tilt);
        page.core._vt_remember_positions();
        page.drawNow();
        return page.view.image !== null;
      },
      selectScene(index) {
        page.select(index);
      },
      // Renders and shows the current view again; true when there is one.
      redraw() {
        page.drawNow();
        return page.view.image !== null;
      },
    };
  }
}

// The page as it arrived, taken before anything changes it.
const pageSource = '<!DOCTYPE html>\n' + document.documentElement.outerHTML;
const tourConfig = JSON.parse(byId('tour').textContent);
createVistelloCore().then((core) => {
  const page = new TourPage(tourConfig, core, pageSource);
  page.start();
  window.vistelloTour = page.api();
});
