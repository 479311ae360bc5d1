// The browser side of the engine's canvas display and input: the grid is drawn
// on the page's canvas with the game's own font loaded as a web font, and the
// page's keyboard, mouse, touch, size and focus events are queued here until
// the game loop reads them. Linked into every program with --js-library.
mergeInto(LibraryManager.library, {
  $VX: {
    canvas: null,
    ctx: null,
    family: '',       // The font's family among the page's web fonts.
    events: [],       // Queued page events, oldest first.
    grid: null,       // Where the grid sits and how its cells are drawn.
    colors: null,     // CSS colour strings by packed RGB(A) (a Map).
    drawn: false,     // Whether a frame was drawn yet.

    // Every event the game reads has a type, then numbers, then an optional key code.
    push: function(type, a, b, code) {
      VX.events.push({type: type, a: a | 0, b: b | 0, code: code || ''});
      // A page left alone with the game paused still keeps a short queue.
      if (VX.events.length > 4096) VX.events.shift();
    },

    // The canvas fills its box; its pixels follow the box's size.
    fit: function() {
      const box = VX.canvas.getBoundingClientRect();
      const ratio = window.devicePixelRatio || 1;
      const width = Math.max(1, Math.round(box.width * ratio));
      const height = Math.max(1, Math.round(box.height * ratio));
      if (VX.canvas.width !== width || VX.canvas.height !== height) {
        VX.canvas.width = width;
        VX.canvas.height = height;
        VX.push(5, width, height);
      }
    },

    // A pointer position in the canvas's own pixels.
    pixel: function(clientX, clientY) {
      const box = VX.canvas.getBoundingClientRect();
      return [Math.round((clientX - box.left) * VX.canvas.width / Math.max(1, box.width)),
              Math.round((clientY - box.top) * VX.canvas.height / Math.max(1, box.height))];
    },

    css: function(rgba) {
      let text = VX.colors.get(rgba);
      if (text === undefined) {
        const a = rgba & 255;
        text = 'rgba(' + (rgba >>> 24) + ',' + ((rgba >>> 16) & 255) + ',' +
               ((rgba >>> 8) & 255) + ',' + (a / 255) + ')';
        if (VX.colors.size > 4096) VX.colors.clear();
        VX.colors.set(rgba, text);
      }
      return text;
    },

    // The box around the ink of every printable character at a size,
    // relative to where a text puts its top-left corner (the baseline one
    // character size below it).
    ink: function(size) {
      const ctx = VX.ctx;
      ctx.font = 'bold ' + size + 'px ' + VX.family;
      let left = 0, top = 0, right = 0, bottom = 0;
      for (let c = 33; c <= 126; c++) {
        const m = ctx.measureText(String.fromCharCode(c));
        const l = -m.actualBoundingBoxLeft, r = m.actualBoundingBoxRight;
        const t = size - m.actualBoundingBoxAscent, b = size + m.actualBoundingBoxDescent;
        if (c === 33) { left = l; right = r; top = t; bottom = b; continue; }
        left = Math.min(left, l); right = Math.max(right, r);
        top = Math.min(top, t); bottom = Math.max(bottom, b);
      }
      return {left: left, top: top, width: right - left, height: bottom - top};
    },

    // The least whole-pixel move that brings [low, high] inside [begin, end].
    moveInside: function(low, high, begin, end) {
      if (low < begin) return Math.ceil(begin - low);
      if (high > end) return Math.floor(end - high);
      return 0;
    },

    // The character size the window uses for these cells: the scaled size,
    // shrunk until every printable character's ink fits one cell; and the
    // move that keeps that ink inside the cell's background.
    layOut: function(cellWidth, cellHeight, fontScale) {
      let size = Math.max(1, Math.floor(Math.min(fontScale * Math.min(cellWidth, cellHeight),
                                                 4 * Math.max(cellWidth, cellHeight))));
      let ink = VX.ink(size);
      while (size > 1 && (ink.width > cellWidth || ink.height > cellHeight)) {
        const ratio = Math.min(cellWidth / ink.width, cellHeight / ink.height);
        size = Math.max(1, Math.min(size - 1, Math.floor(size * ratio)));
        ink = VX.ink(size);
      }
      const cellLeft = -cellWidth / 10, cellTop = cellHeight / 5;
      return {
        size: size,
        dx: VX.moveInside(ink.left, ink.left + ink.width, cellLeft, cellLeft + cellWidth),
        dy: VX.moveInside(ink.top, ink.top + ink.height, cellTop, cellTop + cellHeight),
      };
    },

    // Writes characters whose first cell's top-left is at x, y, one a cell:
    // the letter spacing makes the font's advance the cell's width.
    text: function(ctx, text, rgb, x, y) {
      const g = VX.grid;
      ctx.fillStyle = VX.css(((rgb << 8) | 255) >>> 0);
      ctx.fillText(text, x + g.dx, y + g.dy + g.size);
    },

    listen: function() {
      const keyOf = function(e) { return e.code || e.key || ''; };
      // Keys the page keeps for itself: reload and the browser's own tools.
      const browserKey = function(e) {
        return e.ctrlKey || e.metaKey || e.altKey || e.code === 'F5' || e.code === 'F11' ||
               e.code === 'F12';
      };
      window.addEventListener('keydown', function(e) {
        if (browserKey(e)) return;
        e.preventDefault();
        if (!e.repeat) VX.push(0, 0, 0, keyOf(e));
      });
      window.addEventListener('keyup', function(e) {
        if (browserKey(e)) return;
        e.preventDefault();
        VX.push(1, 0, 0, keyOf(e));
      });
      const canvas = VX.canvas;
      canvas.addEventListener('mousemove', function(e) {
        const p = VX.pixel(e.clientX, e.clientY);
        VX.push(2, p[0], p[1]);
      });
      canvas.addEventListener('mousedown', function(e) {
        const p = VX.pixel(e.clientX, e.clientY);
        VX.push(3, p[0], p[1], String(e.button));
        canvas.focus();
      });
      window.addEventListener('mouseup', function(e) {
        const p = VX.pixel(e.clientX, e.clientY);
        VX.push(4, p[0], p[1], String(e.button));
      });
      canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
      // A tap is a move there and a click of the left button.
      canvas.addEventListener('touchstart', function(e) {
        e.preventDefault();
        for (let i = 0; i < e.changedTouches.length; i++) {
          const t = e.changedTouches[i];
          const p = VX.pixel(t.clientX, t.clientY);
          VX.push(2, p[0], p[1]);
          VX.push(3, p[0], p[1], '0');
          VX.push(4, p[0], p[1], '0');
        }
      }, {passive: false});
      canvas.addEventListener('touchmove', function(e) {
        e.preventDefault();
        const t = e.changedTouches[0];
        const p = VX.pixel(t.clientX, t.clientY);
        VX.push(2, p[0], p[1]);
      }, {passive: false});
      // Focus loss and a hidden tab pause the game.
      window.addEventListener('blur', function() { VX.push(6, 0, 0); });
      document.addEventListener('visibilitychange', function() {
        if (document.hidden) VX.push(6, 0, 0);
      });
      window.addEventListener('resize', function() { VX.fit(); });
    },
  },

  // Takes the font file, which the page loaded as a web font before the
  // program started, and makes the canvas ready. 0, or -1 with a console line.
  vx_canvas_open__deps: ['$VX'],
  vx_canvas_open: function(font_path) {
    const path = UTF8ToString(font_path);
    const canvas = Module['canvas'] || document.getElementById('canvas');
    const ctx = canvas ? canvas.getContext('2d', {alpha: false}) : null;
    if (!ctx) {
      err('vx_canvas_open(): this browser gives no 2D canvas');
      return -1;
    }
    let font = null;
    try {
      font = (Module['vexloFonts'] || {})[FS.lookupPath(path).path];
    } catch (e) {
    }
    if (!font) {
      err('vx_canvas_open(): cannot read the font file ' + path);
      return -1;
    }
    if (font.error) {
      err('vx_canvas_open(): the font ' + path + ' does not load: ' + font.error);
      return -1;
    }
    VX.family = font.family;
    VX.canvas = canvas;
    VX.ctx = ctx;
    VX.colors = new Map();
    VX.events = [];
    VX.listen();
    VX.fit();
    canvas.focus();
    return 0;
  },

  // The canvas's size in pixels, into out[0] and out[1].
  vx_canvas_size__deps: ['$VX'],
  vx_canvas_size: function(out) {
    VX.fit();
    HEAP32[out >> 2] = VX.canvas.width;
    HEAP32[(out >> 2) + 1] = VX.canvas.height;
  },

  // Places the grid in the canvas and sizes its characters for its cells.
  // Writes the character size into out[0].
  vx_canvas_place__deps: ['$VX'],
  vx_canvas_place: function(left, top, width, height, columns, rows, font_scale, out) {
    if ('letterSpacing' in VX.ctx) VX.ctx.letterSpacing = '0px';
    const cellWidth = width / columns, cellHeight = height / rows;
    const fitted = VX.layOut(cellWidth, cellHeight, font_scale);
    VX.grid = {
      left: left, top: top, width: width, height: height,
      cellWidth: cellWidth, cellHeight: cellHeight,
      size: fitted.size, dx: fitted.dx, dy: fitted.dy,
    };
    const ctx = VX.ctx;
    ctx.font = 'bold ' + fitted.size + 'px ' + VX.family;
    ctx.textBaseline = 'alphabetic';
    // Without letter spacing (older browsers) every character is its own run.
    VX.runs = 'letterSpacing' in ctx;
    VX.spacing = (cellWidth - ctx.measureText('M').width) + 'px';
    Module['canvasGrid'] = VX.grid;
    HEAP32[out >> 2] = fitted.size;
  },

  vx_canvas_title: function(title) { document.title = UTF8ToString(title); },

  // Draws a frame: the canvas cleared to `clear` (0xRRGGBB), then `count`
  // operations of eight 32-bit words each at `ops`, in order:
  //   kind 0, a character: x, y (grid pixels), angle (degrees), -, code
  //     point, colour 0xRRGGBB, background 0xRRGGBB;
  //   kind 1, a polygon: x, y (top-left of its square), radius, rotation
  //     (degrees), corners, colour 0xRRGGBBAA.
  vx_canvas_draw__deps: ['$VX'],
  vx_canvas_draw: function(ops, count, clear) {
    const ctx = VX.ctx, g = VX.grid;
    if (!ctx || !g) return;
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.fillStyle = VX.css(((clear << 8) | 255) >>> 0);
    ctx.fillRect(0, 0, VX.canvas.width, VX.canvas.height);
    ctx.save();
    ctx.beginPath();
    ctx.rect(g.left, g.top, g.width, g.height);
    ctx.clip();
    ctx.translate(g.left, g.top);
    ctx.font = 'bold ' + g.size + 'px ' + VX.family;
    ctx.textBaseline = 'alphabetic';
    if (VX.runs) ctx.letterSpacing = VX.spacing;
    const w = g.cellWidth, h = g.cellHeight;
    const f32 = HEAPF32, u32 = HEAPU32, end = (ops >> 2) + count * 8;
    for (let at = ops >> 2; at < end; at += 8) {
      const x = f32[at + 1], y = f32[at + 2];
      if (u32[at] === 0) {
        const angle = f32[at + 3], rgb = u32[at + 6], bg = u32[at + 7];
        let text = String.fromCodePoint(u32[at + 5]);
        if (angle === 0) {
          // Upright characters in a row of cells, one colour over one
          // background, go out as one run: their backgrounds, then their text.
          let cells = 1;
          while (VX.runs && at + 8 < end && u32[at + 8] === 0 && f32[at + 11] === 0 &&
                 f32[at + 10] === y && u32[at + 14] === rgb && u32[at + 15] === bg &&
                 Math.abs(f32[at + 9] - (x + cells * w)) < 0.01) {
            at += 8;
            text += String.fromCodePoint(u32[at + 5]);
            cells++;
          }
          ctx.fillStyle = VX.css(((bg << 8) | 255) >>> 0);
          ctx.fillRect(x - w / 10, y + h / 5, w * cells, h);
          VX.text(ctx, text, rgb, x, y);
        } else {
          ctx.save();
          ctx.translate(x, y);
          ctx.rotate(angle * Math.PI / 180);
          ctx.fillStyle = VX.css(((bg << 8) | 255) >>> 0);
          ctx.fillRect(-w / 10, h / 5, w, h);
          VX.text(ctx, text, rgb, 0, 0);
          ctx.restore();
        }
      } else {
        // Corners on the circle in the polygon's square, turned about the
        // square's top-left corner, as the window's shapes are.
        const radius = f32[at + 3], rotation = f32[at + 4] * Math.PI / 180;
        const corners = u32[at + 5];
        ctx.fillStyle = VX.css(u32[at + 6]);
        const cos = Math.cos(rotation), sin = Math.sin(rotation);
        ctx.beginPath();
        for (let k = 0; k < corners; k++) {
          const t = 2 * Math.PI * k / corners - Math.PI / 2;
          const lx = radius + radius * Math.cos(t), ly = radius + radius * Math.sin(t);
          const px = x + lx * cos - ly * sin, py = y + lx * sin + ly * cos;
          if (k === 0) ctx.moveTo(px, py); else ctx.lineTo(px, py);
        }
        ctx.closePath();
        ctx.fill();
      }
    }
    ctx.restore();
    if (!VX.drawn) {
      VX.drawn = true;
      if (Module['onFirstFrame']) Module['onFirstFrame']();
    }
  },

  // Takes the oldest queued page event: its type (-1 when none), its two
  // numbers into out[0] and out[1], and its key or button into `code`.
  vx_input_next__deps: ['$VX'],
  vx_input_next: function(out, code, code_size) {
    const e = VX.events.shift();
    if (e === undefined) return -1;
    HEAP32[out >> 2] = e.a;
    HEAP32[(out >> 2) + 1] = e.b;
    stringToUTF8(e.code, code, code_size);
    return e.type;
  },

  // Whether the page may play audio: the player pressed a key or clicked (the
  // browser starts the page's audio then), or the audio runs already.
  vx_audio_allowed__deps: ['$AL'],
  vx_audio_allowed: function() {
    const activation = navigator.userActivation;
    const running = AL.currentCtx && AL.currentCtx.audioCtx.state === 'running';
    return !activation || activation.hasBeenActive || running ? 1 : 0;
  },

  // Keeps a file the program wrote in the browser's storage, so that the
  // page writes it back before the program starts next time.
  vx_storage_keep: function(path) {
    const name = UTF8ToString(path);
    try {
      const text = FS.readFile(name, {encoding: 'utf8'});
      window.localStorage.setItem('vexlo-file:' + name, text);
      return 0;
    } catch (e) {
      err('vx_storage_keep(): cannot keep ' + name + ': ' + e);
      return -1;
    }
  },
});
