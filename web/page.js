// TourPage: the window around the view, as a page -- toolbar, menu, scene
// list, presenter lines, status line, e-commerce panel, logo and dialogs --
// with the executable's keys, mouse and commands, plus touch, the wheel,
// full screen, turning the device and an address naming the view. It is
// driven by the tour's configuration (the JSON element "tour") and by one
// requestAnimationFrame loop that runs the 20 Hz motion tick and draws
// only when something moved; input handlers only change the motion state
// and wake the loop, which asks for no frame while nothing moves.

const LOADING_TEXT = 'Loading new scene ...';
const VISIT_TEXT = 'Visit Orvo(tm) Website';
const TICK_MS = 50;       // the animation tick: twenty a second
const SPLASH_MS = 1000;   // the splash stays one second at every scene switch
const REPEAT_MS = 500;    // a held zoom button repeats after this, as a held key
const PAN_STEP = 4;       // look left / look right
const TILT_STEP = 8;      // look up / look down
const ZOOM_RATIO = Math.pow(3, 1 / 20);  // one zoom level: 3x in 20 levels
const WHEEL_NOTCH = 100;  // wheel pixels a level
// Ctrl + wheel pixels a level: a trackpad pinch comes as Ctrl + wheel with
// 100 pixels for a factor e of scale, so this is one level's factor.
const PINCH_STEP = 100 * Math.log(ZOOM_RATIO);
const WHEEL_PIXELS = [1, 100 / 3, 100];  // a pixel, line (three a notch) and page in pixels
const FILL_SHARE = 0.9;   // a whole-number enlargement must fill this much of its room
const STACK_SHARE = 0.75; // the column goes under a view that beside it would shrink below this
const SMALLEST = 0.5;     // the view never shrinks below 160 x 100: the content scrolls

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
// Keys of the whole page, wherever the focus is but in the scene list and
// the dialogs.
const PAGE_KEYS = {
  f: (page) => page.toggleFullscreen(),
  F: (page) => page.toggleFullscreen(),
  Escape: (page) => page.setFullscreen(false),
};

// Toolbar, menu and view buttons.
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
  'fullscreen': (page) => page.toggleFullscreen(),
  'orientation': (page) => page.toggleTurning(),
};
// Zoom buttons: a press zooms one level, holding repeats.
const HELD = {'zoom-in': 1, 'zoom-out': -1};

const byId = (id) => document.getElementById(id);

// The view an address names: "#scene=3", optionally followed by
// "&pan=900", "&tilt=-20" and "&level=5" in any order. Returns {scene,
// pan, tilt, level} with null for what is missing or malformed, or null
// when no scene of the tour (0 .. count - 1) is named.
function parseSceneAddress(hash, count) {
  const found = {scene: null, pan: null, tilt: null, level: null};
  for (const part of hash.replace(/^#/, '').split('&')) {
    const field = /^(scene|pan|tilt|level)=(-?\d{1,6})$/.exec(part);
    if (field) {
      found[field[1]] = Number(field[2]);
    }
  }
  return found.scene !== null && found.scene >= 0 && found.scene < count ? found : null;
}

// How much to enlarge a picture whose largest fitting enlargement is
// `room` CSS pixels per picture pixel: {scale, crisp}. "whole" takes the
// largest whole number of device pixels per picture pixel (at least one);
// "smooth" fills the room; "fill" takes the whole number where it fills
// FILL_SHARE of the room, and fills it smoothly otherwise.
function fitScale(room, rule) {
  const ratio = window.devicePixelRatio || 1;
  const whole = Math.floor(room * ratio + 1e-6) / ratio;
  if (rule === 'whole') {
    return {scale: Math.max(whole, 1 / ratio), crisp: true};
  }
  if (rule === 'fill' && whole >= FILL_SHARE * room) {
    return {scale: whole, crisp: true};
  }
  return {scale: room, crisp: false};
}

class TourPage {
  constructor(config, core, source) {
    this.config = config;
    this.core = core;
    this.source = source;  // the page as it arrived, for "Save a copy"
    const splash = new Image();
    splash.src = config.art.splash.uri;
    this.view = new PanoramaView(core, byId('view'), config.scenes.map((s) => s.jpeg), splash);
    this.area = byId('view-area');
    this.status = byId('status');
    this.list = byId('scenes');
    this.current = -1;        // the scene shown
    this.pending = -1;        // a requested scene not switched to yet
    this.selected = -1;       // the list's choice: status title and link query
    this.loadingUntil = 0;    // end of the splash while a switch is under way
    this.nextTick = 0;
    this.dirty = false;
    this.frameRequest = 0;    // the animation frame asked for, 0 while the loop rests
    this.resting = false;     // the address shows the view at rest
    this.drag = null;         // {anchorX, anchorY, lastY} while the button or a finger is down
    this.touches = new Map();  // pointer id -> {x, y} of each finger on the view
    this.pinch = null;        // {distance, level} while two fingers are down
    this.heldKeys = new Set();  // the view's keys down whose key-up stops a motion
    this.heldZoom = null;     // {speed, repeatAt} while a zoom button is held
    this.wheelTravel = 0;     // wheel pixels towards the next level
    this.turning = null;      // {heading, degrees, height} while the device turns the view
    this.startView = null;    // an address's view, shown when its scene is switched to
    this.full = false;
    this.pickedWithPointer = false;
    this.firstFrame = null;   // ms after navigation when the first scene frame was shown
    this.saveUrl = null;
    this.reducedMotion = window.matchMedia('(prefers-reduced-motion: reduce)');
    this.loop = (now) => {
      this.frameRequest = 0;
      this.frame(now);
      if (this.busy()) {
        this.wake();
      } else {
        this.showAddress(true);
      }
    };
  }

  start() {
    this.fill();
    this.bind();
    this.layout();
    this.core._vt_remember_positions();
    // The first scene comes without the splash: the reader has just opened
    // the page, there is nothing to replace.
    const address = parseSceneAddress(location.hash, this.config.scenes.length);
    const first = address ? address.scene : 0;
    this.startView = address;
    this.select(first);
    this.pending = -1;
    this.switchTo(first);
    this.drawNow();
    this.view.canvas.focus({preventScroll: true});
    this.wake();
  }

  // --- the tour's content ---------------------------------------------------

  fill() {
    const {config} = this;
    const {art, texts, presenter} = config;
    document.querySelectorAll('.tool').forEach((button) => {
      button.style.backgroundImage = `url("${art.toolbar.uri}")`;
      button.style.backgroundSize = `calc(${art.toolbar.width}px * var(--scale)) auto`;
      const left = -40 * Number(button.dataset.image);
      button.style.backgroundPosition = `calc(${left}px * var(--scale)) 0`;
    });
    const hand = `url("${art.hand_cursor}") 6 0, pointer`;
    const badge = byId('badge');
    badge.firstElementChild.src = art.badge.uri;
    badge.firstElementChild.style.width = `calc(${art.badge.width}px * var(--scale))`;
    badge.firstElementChild.style.height = `calc(${art.badge.height}px * var(--scale))`;
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
    // On a phone the number calls and each address writes a mail.
    const digits = presenter.phone.replace(/[^\d+]/g, '');
    byId('contact-phone').append(digits ? this.link(`tel:${digits}`, presenter.phone) :
      presenter.phone);
    for (const address of this.addresses()) {
      const line = document.createElement('div');
      line.append(this.link(`mailto:${address}`, address));
      byId('contact-email').append(line);
    }
    byId('contact-location').textContent = presenter.location;
    byId('contact-listing').textContent = presenter.listing;
    byId('help-caption').textContent = texts.help_dialog.caption;
    byId('help-contact').textContent = texts.help_contact.trim();
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
        '&body=' + encodeURIComponent(this.mailText());
    // Turning the view by turning the device: offered where there is a
    // touch screen to suggest a device that turns.
    byId('orientation').hidden = !('DeviceOrientationEvent' in window &&
                                   navigator.maxTouchPoints > 0);
  }

  addresses() {
    return this.config.presenter.email.split(';').map((a) => a.trim()).filter((a) => a);
  }

  link(href, text) {
    const link = document.createElement('a');
    link.href = href;
    link.textContent = text;
    return link;
  }

  // The mail that goes with a saved copy: short, since some mail programs
  // cut a mailto: address at 2,000 characters; the page itself carries the
  // help.
  mailText() {
    const {executable, presenter} = this.config;
    const by = [presenter.name, presenter.company].filter((t) => t).join(', ');
    const lines = [
      'Hi,', '',
      `I thought you would like to see this virtual tour${
        presenter.location ? ` of ${presenter.location}` : ''}.`, '',
      `It is the attached page, ${executable}.html: open it in any web browser, on a ` +
          'computer, a tablet or a phone. It needs no Internet connection and nothing to install.',
      '', ...[by && `Presented by ${by}`, presenter.phone, ...this.addresses()].filter((t) => t),
    ];
    return lines.join('\r\n') + '\r\n';
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
    canvas.addEventListener('wheel', (event) => this.wheel(event), {passive: false});
    // A key held while the view loses the keys, or anything held while the
    // window or its tab is left, would never see its release: it is
    // released here.
    canvas.addEventListener('blur', () => this.releaseKeys());
    window.addEventListener('blur', () => this.releaseHeld());
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'hidden') {
        this.releaseHeld();
      }
    });

    document.querySelectorAll('[data-command]').forEach((button) => {
      const command = button.dataset.command;
      button.addEventListener('click', (event) => {
        // The pointer's press already zoomed; keyboard clicks (detail 0) zoom here.
        if (!(command in HELD && event.detail > 0)) {
          COMMANDS[command](this);
        }
      });
      if (command in HELD) {
        button.addEventListener('pointerdown', (event) => {
          if (event.button === 0) {
            this.zoomBy(HELD[command]);
            this.heldZoom = {speed: HELD[command], repeatAt: performance.now() + REPEAT_MS};
            this.wake();
          }
        });
      }
    });
    window.addEventListener('pointerup', () => this.releaseZoom());
    window.addEventListener('pointercancel', () => this.releaseZoom());

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

    // Hover texts in the status line: the badge's and the spots' while the
    // pointer is over them, the title again wherever it goes next; focus
    // shows the same for keyboard readers.
    const badge = byId('badge');
    badge.addEventListener('focus', () => this.hover(badge));
    badge.addEventListener('blur', () => this.restoreStatus());
    window.addEventListener('pointerover', (event) => this.hover(event.target));
    document.querySelectorAll('.spot').forEach((spot) => {
      spot.addEventListener('focus', () => this.hover(spot));
      spot.addEventListener('blur', () => this.restoreStatus());
    });

    document.addEventListener('keydown', (event) => {
      // Links that act as buttons (the badge, the hot spots, the mail and
      // the copy) answer Space as well as Enter, once a press.
      const link = event.target instanceof Element && event.target.closest('a[href]');
      if (link && event.key === ' ') {
        event.preventDefault();
        if (!event.repeat) {
          link.click();
        }
        return;
      }
      // Escape belongs to the page only in full screen.
      if (event.target instanceof Element && !event.target.closest('select, dialog') &&
          (event.key !== 'Escape' || this.full)) {
        this.key(PAGE_KEYS, event);
      }
    });
    document.querySelectorAll('dialog .close').forEach((button) => {
      button.addEventListener('click', () => button.closest('dialog').close());
    });
    document.addEventListener('fullscreenchange', () => this.setFullscreen(
        document.fullscreenElement === this.area));
    window.addEventListener('resize', () => this.layout());
    window.addEventListener('hashchange', () => {
      const address = parseSceneAddress(location.hash, this.config.scenes.length);
      if (address) {
        this.startView = address;
        this.select(address.scene);
        if (address.scene === this.current) {
          this.showStartView();
        }
      }
    });
    this.turned = (event) => this.turn(event);
  }

  key(table, event) {
    const action = table[event.key];
    if (action === undefined || event.altKey || event.ctrlKey || event.metaKey) {
      return;
    }
    event.preventDefault();  // the page itself must not scroll
    if (table === KEY_DOWN && event.key in KEY_UP) {
      this.heldKeys.add(event.key);
    } else if (table === KEY_UP) {
      this.heldKeys.delete(event.key);
    }
    action(this);
  }

  releaseKeys() {
    for (const key of this.heldKeys) {
      KEY_UP[key](this);
    }
    this.heldKeys.clear();
  }

  releaseHeld() {
    this.releaseKeys();
    if (this.drag !== null || this.touches.size > 0) {
      this.drag = null;
      this.pinch = null;
      this.touches.clear();
      this.setPanSpeed(0);
      this.setTiltSpeed(0);
    }
    this.releaseZoom();
  }

  releaseZoom() {
    if (this.heldZoom !== null) {
      this.heldZoom = null;
      this.core._vt_set_zoom_speed(0);
    }
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
  }

  fingerDistance() {
    const [a, b] = [...this.touches.values()];
    return Math.max(1, Math.hypot(a.x - b.x, a.y - b.y));
  }

  // A level a wheel notch, and a level a step of scale a pinch on a
  // trackpad makes (it arrives as the wheel with Ctrl): one level an event
  // at most, so that Ctrl and a notch is a level too.
  wheel(event) {
    event.preventDefault();  // neither the page scrolls nor the browser zooms
    const unit = event.ctrlKey ? PINCH_STEP : WHEEL_NOTCH;
    this.wheelTravel += event.deltaY * WHEEL_PIXELS[event.deltaMode];
    const levels = Math.trunc(this.wheelTravel / unit);
    if (levels !== 0) {
      this.zoomBy(-Math.sign(levels));
      this.wheelTravel = Math.abs(levels) > 1 ? 0 : this.wheelTravel - levels * unit;
    }
  }

  hover(target) {
    if (!(target instanceof Element)) {
      return;
    }
    const spot = target.closest('.spot');
    const text = target.closest('#badge') ? VISIT_TEXT :
      spot ? this.config.hot_spots[Number(spot.dataset.index)].status : '';
    if (text) {
      this.setStatus(text);
    } else {
      this.restoreStatus();
    }
  }

  // --- motion -------------------------------------------------------------

  // Pan speed changes also show on the toolbar: the button of the current
  // direction looks pressed.
  setPanSpeed(speed) {
    this.core._vt_set_pan_speed(speed);
    this.changed();
    const current = this.core._vt_pan_speed();
    const pressed = {left: current < 0, stop: current === 0, right: current > 0};
    for (const [command, state] of Object.entries(pressed)) {
      document.querySelector(`.tool[data-command="${command}"]`)
          .setAttribute('aria-pressed', String(state));
    }
  }

  setTiltSpeed(speed) {
    this.core._vt_set_tilt_speed(speed);
    this.changed();
  }

  setZoom(level) {
    this.core._vt_set_zoom_level(level);
    this.changed();
  }

  zoomBy(steps) {
    this.setZoom(this.core._vt_zoom_level() + steps);
  }

  // Turning the device turns the view: off by default; iOS asks its
  // reader's leave first, which it grants only to a button's press.
  toggleTurning() {
    const button = byId('orientation');
    if (this.turning !== null) {
      window.removeEventListener('deviceorientation', this.turned);
      this.turning = null;
      button.setAttribute('aria-pressed', 'false');
      return;
    }
    const begin = () => {
      this.turning = {heading: null, degrees: 0, height: null};
      window.addEventListener('deviceorientation', this.turned);
      button.setAttribute('aria-pressed', 'true');
      this.setPanSpeed(0);
      this.setTiltSpeed(0);
    };
    const ask = window.DeviceOrientationEvent.requestPermission;
    if (typeof ask === 'function') {
      ask.call(window.DeviceOrientationEvent).then((answer) => {
        if (answer === 'granted') {
          begin();
        }
      }, () => {});
    } else {
      begin();
    }
  }

  // The direction out of the device's back (alpha, beta, gamma as the
  // browser gives them: rotations about z, x', y'') is, in earth axes
  // (x east, y north, z up), Rz(alpha) Rx(beta) Ry(gamma) (0, 0, -1). Its
  // compass heading turns the pan by as many degrees as it turns from one
  // reading to the next; its height above the horizon is the tilt. The
  // handler only sums the turn; the loop applies it.
  turn(event) {
    const {alpha, beta, gamma} = event;
    if (this.turning === null || alpha === null || beta === null || gamma === null) {
      return;
    }
    const [a, b, g] = [alpha, beta, gamma].map((degrees) => degrees * Math.PI / 180);
    const x = -Math.cos(a) * Math.sin(g) - Math.sin(a) * Math.sin(b) * Math.cos(g);
    const y = -Math.sin(a) * Math.sin(g) + Math.cos(a) * Math.sin(b) * Math.cos(g);
    const z = -Math.cos(b) * Math.cos(g);
    const heading = Math.atan2(x, y) * 180 / Math.PI;
    const turning = this.turning;
    if (turning.heading !== null) {
      turning.degrees += ((heading - turning.heading) % 360 + 540) % 360 - 180;
    }
    turning.heading = heading;
    turning.height = Math.asin(Math.max(-1, Math.min(1, z))) * 180 / Math.PI;
    this.wake();
  }

  // A degree is the strip's width / 360 columns of pan, and at the horizon
  // as many rows of tilt; what is left of a column waits for the next turn.
  applyTurn() {
    const turning = this.turning;
    const perDegree = this.core._vt_strip_width() / 360;
    const columns = Math.round(turning.degrees * perDegree);
    turning.degrees -= columns / perDegree;
    this.core._vt_look(this.core._vt_pan() + columns, Math.round(turning.height * perDegree));
    turning.height = null;
    this.dirty = true;
  }

  // --- scenes ---------------------------------------------------------------

  // The list's choice: the status line shows its title at once, and the
  // scene is switched to at the next tick unless it is already shown.
  select(index) {
    this.selected = index;
    this.list.selectedIndex = index;
    if (index !== this.current) {
      this.pending = index;
      this.wake();
    }
    this.setStatus(this.config.scenes[index].title);
    const query = this.config.scenes[index].query;
    document.querySelectorAll('.spot').forEach((spot) => {
      const link = this.config.hot_spots[Number(spot.dataset.index)].link;
      spot.href = query ? `${link}?${query}` : link;
    });
  }

  // Shows scene `index` from its first view: zoom 0, pan W'/3 - 160,
  // panning right unless the reader asked for reduced motion -- or the
  // view an address named for it.
  switchTo(index) {
    this.current = index;
    if (!this.view.prepare(index)) {
      this.view.clear();
    }
    this.setPanSpeed(this.reducedMotion.matches ? 0 : PAN_STEP);
    this.setTiltSpeed(0);
    this.setStatus(this.config.scenes[index].title);
    const tour = this.config.presenter.location || this.config.texts.window_title;
    document.title = `${this.config.scenes[index].title} - ${tour}`;
    this.showStartView();
    this.showAddress(false);
  }

  // An address's pan, tilt and level, shown still, once its scene is shown.
  showStartView() {
    const wanted = this.startView;
    if (wanted === null || wanted.scene !== this.current) {
      return;
    }
    this.startView = null;
    if (wanted.pan === null && wanted.tilt === null && wanted.level === null) {
      return;
    }
    this.setPanSpeed(0);
    this.setZoom(wanted.level === null ? 0 : wanted.level);
    this.core._vt_look(wanted.pan === null ? this.core._vt_pan() : wanted.pan, wanted.tilt || 0);
  }

  // The address names the scene shown and, while the view rests, the view,
  // so that copying it shares what the reader sees. Replacing it keeps the
  // history and fires no hashchange.
  showAddress(resting) {
    if (this.current < 0 || (resting && this.resting)) {
      return;
    }
    this.resting = resting;
    const core = this.core;
    let hash = `#scene=${this.current}`;
    if (resting) {
      hash += `&pan=${core._vt_pan()}&tilt=${core._vt_tilt()}&level=${core._vt_zoom_level()}`;
    }
    if (location.hash !== hash) {
      history.replaceState(null, '', hash);
    }
  }

  // --- the loop ---------------------------------------------------------------

  changed() {
    this.dirty = true;
    this.wake();
  }

  wake() {
    if (this.frameRequest === 0) {
      this.frameRequest = window.requestAnimationFrame(this.loop);
      if (this.resting) {
        this.showAddress(false);
      }
    }
  }

  // Whether the next frame may have something to do: a switch, a frame to
  // draw, motion, a held zoom button waiting to repeat, a new reading of
  // the device's turn.
  busy() {
    return this.dirty || this.pending >= 0 || this.loadingUntil !== 0 ||
           this.heldZoom !== null || this.core._vt_in_motion() === 1 ||
           (this.turning !== null && this.turning.height !== null);
  }

  frame(now) {
    if (now - this.nextTick > SPLASH_MS) {
      this.nextTick = now;  // after a pause (a rest, a hidden tab), no burst of ticks
    }
    if (this.turning !== null && this.turning.height !== null) {
      this.applyTurn();
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
    if (this.heldZoom !== null && now >= this.heldZoom.repeatAt) {
      this.core._vt_set_zoom_speed(this.heldZoom.speed);
    }
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

  // --- status line, dialogs, full screen, layout ---------------------------

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

  toggleFullscreen() {
    this.setFullscreen(!this.full);
  }

  // The view alone on the screen: through the Fullscreen API where the
  // browser has it for elements, else over the whole window (iPhone).
  setFullscreen(full) {
    const api = document.fullscreenEnabled && this.area.requestFullscreen;
    const inApi = document.fullscreenElement === this.area;
    if (full && api && !inApi) {
      this.area.requestFullscreen().catch(() => this.showFullscreen(true));
      return;
    }
    if (!full && inApi) {
      document.exitFullscreen();  // fullscreenchange comes back here
      return;
    }
    this.showFullscreen(full);
  }

  showFullscreen(full) {
    this.full = full;
    document.body.classList.toggle('full', full);
    byId('fullscreen').setAttribute('aria-pressed', String(full));
    this.layout();
    this.view.canvas.focus({preventScroll: true});
  }

  // The view's size. In full screen, the screen. Otherwise the view, with
  // the panel under it, fills the content's width and the height it
  // shows, beside the column -- or above it, where beside it the view would
  // be much smaller. The tour's [web] scale rules how (see fitScale); the
  // panel follows at the view's scale, no wider than the view's room. The
  // toolbar's bitmaps are shown large enough to read.
  layout() {
    this.layoutToolbar();
    const {width: frameWidth, height: frameHeight} = this.view.canvas;
    const panel = this.config.art.panel;
    // The room is measured with the view and the panel out of the way: at
    // their last sizes they might overflow it and so narrow it.
    this.view.setScale(0, false);
    byId('panel-image').style.width = '0';
    const content = document.querySelector('.content');
    const style = getComputedStyle(content);
    const gap = parseFloat(getComputedStyle(document.querySelector('.stage')).rowGap) || 0;
    const inner = content.clientWidth - parseFloat(style.paddingLeft) -
                  parseFloat(style.paddingRight);
    const tall = content.clientHeight - parseFloat(style.paddingTop) -
                 parseFloat(style.paddingBottom);
    const frame = this.full ? 0 : 2;  // the view's border
    // The largest scale at which the view and the panel fit `width` x `tall`.
    const fit = (width) => {
      let scale = (tall - frame) / frameHeight;
      if (panel) {
        const widest = width / panel.width;
        const room = tall - frame - gap;
        scale = room / (frameHeight + panel.height);
        if (scale > widest) {
          scale = (room - panel.height * widest) / frameHeight;
        }
      }
      return Math.min((width - frame) / frameWidth, scale);
    };
    let room;
    let width = inner;
    if (this.full) {
      room = Math.min(this.area.clientWidth / frameWidth, this.area.clientHeight / frameHeight);
    } else {
      const column = parseFloat(getComputedStyle(content).getPropertyValue('--column'));
      const beside = fit(inner - column - gap);
      const stacked = beside < STACK_SHARE * fit(inner);
      document.body.classList.toggle('stacked', stacked);
      width = stacked ? inner : inner - column - gap;
      room = Math.max(SMALLEST, fit(width));
    }
    const view = fitScale(room, this.config.scale);
    this.view.setScale(view.scale, !view.crisp);
    if (panel) {
      const shown = fitScale(Math.min(view.scale, width / panel.width), 'fill');
      const image = byId('panel-image');
      image.style.width = `${panel.width * shown.scale}px`;
      image.style.height = `${panel.height * shown.scale}px`;
      image.classList.toggle('smooth', !shown.crisp);
    }
  }

  // Twice the bitmap's size at most, 1.5 times on a short window; on one
  // row when that still shows the labels half as large again, else on two
  // (the first up to Zoom out).
  layoutToolbar() {
    const toolbar = byId('toolbar');
    // What does not grow: the padding (8), a border of 2 a button, a gap of
    // 1 between items, the separators (8) and the badge's margin (2); and a
    // pixel for rounding.
    const width = toolbar.clientWidth - 1;
    const oneRow = (width - 49) / (7 * 40 + this.config.art.badge.width);
    const twoRows = (width - 31) / (5 * 40);
    const largest = window.innerHeight < 600 ? 1.5 : 2;
    const scale = Math.min(largest, oneRow >= 1.5 ? oneRow : twoRows);
    const shown = fitScale(scale, 'fill');
    toolbar.style.setProperty('--scale', shown.scale);
    toolbar.classList.toggle('smooth', !shown.crisp);
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
