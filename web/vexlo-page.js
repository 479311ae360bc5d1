// The page around a Vexlo program built for the browser: checks that the
// browser can run it, shows the download's progress, hands the program its
// arguments and kept files, sends its output and log to the console, and puts
// any failure to start on the page in words. window.vexlo is what the page
// knows about the running program (the browser tests read it).
(function () {
  'use strict';
  const message = document.getElementById('message');
  const bar = document.querySelector('#bar > div');
  const problem = document.getElementById('problem');
  const status = document.getElementById('status');
  const canvas = document.getElementById('canvas');
  const STORAGE_PREFIX = 'vexlo-file:';
  const page = window.vexlo = {
    output: [],      // Lines the program printed.
    log: [],         // The last lines of its log.
    exitCode: null,  // Set when the program ends.
    problem: null,   // What the page says when the program could not start or stopped.
    firstFrame: null, // Milliseconds from the page's start to the first frame drawn.
    runMilliseconds: null, // From the program's start to its end.
    // Direct calls: the program is asleep between its steps, and a call
    // through ccall would wait for the whole program to end.
    gridText: function () {
      return page.running ? Module.UTF8ToString(Module._vx_page_grid_text()) : '';
    },
    running: false,
    // Where the middle of a cell of the grid is, in CSS pixels from the
    // canvas's top-left corner.
    cellPoint: function (column, row) {
      const grid = Module.canvasGrid, box = canvas.getBoundingClientRect();
      return {x: (grid.left + (column + 0.5) * grid.cellWidth) * box.width / canvas.width,
              y: (grid.top + (row + 0.5) * grid.cellHeight) * box.height / canvas.height};
    },
  };

  function fail(text) {
    page.problem = text;
    status.style.display = '';
    message.textContent = 'The game could not start.';
    document.getElementById('bar').style.display = 'none';
    problem.style.display = 'block';
    problem.textContent = text;
    canvas.style.visibility = 'hidden';
  }

  function missing() {
    if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function')
      return 'WebAssembly';
    const probe = document.createElement('canvas');
    if (!probe.getContext || !probe.getContext('2d')) return 'a 2D canvas';
    if (typeof FontFace !== 'function') return 'web fonts (FontFace)';
    return '';
  }

  const lacking = missing();
  if (lacking) {
    fail('This browser does not support ' + lacking + ', which the game needs. ' +
         'A current Chromium, Firefox or Safari runs it.');
    return;
  }

  // The program's code is compiled while its script and data still load.
  const wasmFile = VEXLO_PROGRAM + '.wasm';
  const streaming = WebAssembly.compileStreaming ?
    WebAssembly.compileStreaming(fetch(wasmFile, {credentials: 'same-origin'})) :
    Promise.reject(new Error('no streaming compilation'));
  const compiled = streaming.catch(function () {
    // A server that does not say application/wasm (or an older browser):
    // compiled once it is all there.
    return fetch(wasmFile, {credentials: 'same-origin'}).then(function (response) {
      if (!response.ok) throw new Error(wasmFile + ': ' + response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function (bytes) { return WebAssembly.compile(bytes); });
  });

  // ?replay=URL plays a recorded game again (add &fast to run it without
  // waiting); ?display=none runs without drawing; other programs' flags can
  // be given as ?args=a,b,c.
  const query = new URLSearchParams(window.location.search);
  const args = query.has('args') ? query.get('args').split(',').filter(Boolean) : [];
  const replay = query.get('replay');
  if (replay) {
    args.push('--replay', '/replay.vxr');
    if (query.has('fast')) args.push('--fast');
  }

  // The fonts among the program's files become the page's web fonts before
  // it starts, so that its display has them at once (vx_canvas_open) and
  // nothing under the program's loop waits on the page. They are read once
  // all else the start waits for is in, the data among it: a dependency of
  // their own holds the start until they are loaded.
  const FONT_FILE = /\.(ttf|otf|woff2?)$/i;
  const SYSTEM_FOLDERS = ['/dev', '/proc', '/tmp', '/home'];
  // byPath: the family or the error of each font file; pending: what the
  // start waits for.
  const fonts = {byPath: {}, waiting: false, pending: 0};

  function fontFiles(folder, found) {
    FS.readdir(folder).forEach(function (name) {
      const path = (folder === '/' ? '' : folder) + '/' + name;
      if (name === '.' || name === '..' || SYSTEM_FOLDERS.indexOf(path) >= 0) return;
      if (FS.isDir(FS.stat(path).mode)) fontFiles(path, found);
      else if (FONT_FILE.test(name)) found.push(path);
    });
    return found;
  }

  function loadFonts() {
    fonts.waiting = false;
    Promise.all(fontFiles('/', []).map(function (path, index) {
      const bytes = FS.readFile(path);
      const family = 'vexlo-font-' + index;
      const entry = fonts.byPath[path] = {family: family, error: null};
      return new FontFace(family, bytes.buffer.slice(bytes.byteOffset,
                                                     bytes.byteOffset + bytes.length))
        .load().then(function (face) { document.fonts.add(face); },
                     function (reason) { entry.error = String(reason); });
    })).then(function () { removeRunDependency('fonts'); });
  }

  function loadFontsWhenAlone() {
    if (fonts.waiting && fonts.pending === 1) loadFonts();
  }

  // Lines for the console, written together once the program gives the
  // page its thread back: a line written at once costs more than the step
  // that wrote it when the console is watched.
  const consoleLines = [];
  function toConsole(line) {
    if (consoleLines.push(line) === 1) {
      queueMicrotask(function () {
        console.log(consoleLines.join('\n'));
        consoleLines.length = 0;
      });
    }
  }

  function logLine(line) {
    page.log.push(line);
    if (page.log.length > 200) page.log.shift();
    toConsole(line);
  }

  window.Module = {
    canvas: canvas,
    arguments: args,
    print: function (line) { page.output.push(line); toConsole(line); },
    printErr: logLine,
    setStatus: function (text) {
      const progress = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text);
      if (progress) bar.style.width = (100 * progress[1] / progress[2]) + '%';
    },
    instantiateWasm: function (imports, receive) {
      compiled.then(function (module) {
        return WebAssembly.instantiate(module, imports).then(function (instance) {
          receive(instance, module);
        });
      }).catch(function (reason) {
        fail('The program ' + wasmFile + ' could not be loaded: ' + reason);
      });
      return {};
    },
    vexloFonts: fonts.byPath,
    monitorRunDependencies: function (left) {
      fonts.pending = left;
      loadFontsWhenAlone();
    },
    preRun: [function () {
      addRunDependency('fonts');
      fonts.waiting = true;
      // After the data's own preparation, which comes next in this turn.
      addOnPreRun(loadFontsWhenAlone);
      // The log goes to the console, through the program's standard error.
      ENV.VEXLO_LOG = '/dev/stderr';
      if (query.get('display')) ENV.VEXLO_DISPLAY = query.get('display');
      // Files the program kept in an earlier visit (its best score, say).
      for (let i = 0; i < window.localStorage.length; i++) {
        const key = window.localStorage.key(i);
        if (!key.startsWith(STORAGE_PREFIX)) continue;
        const path = key.substring(STORAGE_PREFIX.length);
        try {
          FS.mkdirTree(path.substring(0, path.lastIndexOf('/')) || '/');
          FS.writeFile(path, window.localStorage.getItem(key));
        } catch (e) {
          console.log('vexlo: cannot restore ' + path + ': ' + e);
        }
      }
      if (replay) {
        addRunDependency('replay');
        fetch(replay).then(function (response) {
          if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
          return response.arrayBuffer();
        }).then(function (data) {
          FS.writeFile('/replay.vxr', new Uint8Array(data));
          removeRunDependency('replay');
        }, function (reason) {
          fail('The recorded game ' + replay + ' could not be loaded: ' + reason);
        });
      }
    }],
    onRuntimeInitialized: function () {
      page.running = true;
      page.startedAt = performance.now();
    },
    onFirstFrame: function () {
      page.firstFrame = performance.now();
      status.style.display = 'none';
    },
    // main sleeps by unwinding into the browser, so the runtime sees its
    // first return (at the first sleep) and ends with status 0; the status
    // main really returns comes with the end of the last sleep.
    postRun: [function () {
      if (typeof Asyncify !== 'undefined' && Asyncify.currData) {
        Asyncify.whenDone().then(function (status) { page.mainStatus = status; });
      }
    }],
    onExit: function (code) {
      page.running = false;
      page.runMilliseconds = performance.now() - page.startedAt;
      setTimeout(function () {
        const status = typeof page.mainStatus === 'number' ? page.mainStatus : code;
        page.exitCode = status;
        if (status !== 0 && !replay) {
          const errors = page.log.filter(function (line) { return /Error|Warning/.test(line); });
          fail('It stopped with status ' + status + '. What the log says:\n' +
               (errors.length ? errors.slice(-6).join('\n') : page.log.slice(-6).join('\n')));
        }
      }, 0);
    },
    onAbort: function (what) {
      page.running = false;
      fail('It stopped: ' + what);
    },
  };

  // An error the program does not catch stops it (a fault in the program or
  // in its build, such as a sleep it cannot come back from): the page says so.
  window.addEventListener('error', function (event) {
    page.running = false;
    fail('It stopped: ' + event.message);
  });

  const script = document.createElement('script');
  script.src = VEXLO_PROGRAM + '.js';
  script.onerror = function () { fail('The program ' + script.src + ' could not be loaded.'); };
  document.body.appendChild(script);
})();
