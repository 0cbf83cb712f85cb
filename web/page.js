// The playground page's logic: the highlighted editor pane, the examples
// menu, the arguments field, the worker that runs a program (made from MOX_WORKER_SOURCE of
// mox_bundle.js), and the output panes, where the colour escapes of the
// error banner become coloured spans.
//
// document.body.dataset.state tells where the page is: 'loading' until a
// worker is ready, then 'ready', 'running', and 'ready' again after each run
// (the browser test waits on it).
'use strict';

// ---- arguments ----------------------------------------------------------------

// The words of the arguments field: split at white space; double or single
// quotes keep white space inside one word ("two words"), as a shell would.
function splitArguments(text) {
  var words = [], word = null, quote = null;
  for (var i = 0; i < text.length; ++i) {
    var c = text[i];
    if (quote !== null) {
      if (c === quote) quote = null;
      else word += c;
    } else if (c === '"' || c === "'") {
      quote = c;
      if (word === null) word = '';
    } else if (/\s/.test(c)) {
      if (word !== null) words.push(word);
      word = null;
    } else {
      word = (word === null ? '' : word) + c;
    }
  }
  if (word !== null) words.push(word);
  return words;
}

// ---- output panes ---------------------------------------------------------------

// Terminal text into a <pre>: bytes are decoded as UTF-8 (across writes), and
// SGR escapes (ESC [ n;... m) set the style of the spans that follow:
// 0 or nothing resets, 1 bold, 22 not bold, 30-37 and 90-97 the foreground,
// 39 the default one, 40-47 the background, 49 the default one. Other
// escape sequences are dropped; no escape byte is ever shown.
var kPaneLimit = 200000;  // characters kept per pane: an endless printer cannot swamp the page

function AnsiPane(pre) {
  this.pre = pre;
  this.reset();
}

AnsiPane.prototype.reset = function () {
  this.pre.textContent = '';
  this.decoder = new TextDecoder('utf-8');
  this.pending = '';  // an escape sequence cut off at the end of a write
  this.style = { bold: false, fg: null, bg: null };
  this.shown = 0;
  this.full = false;
};

AnsiPane.prototype.write = function (bytes) {
  this.feed(this.decoder.decode(bytes, { stream: true }));
};

AnsiPane.prototype.finish = function () {
  this.feed(this.decoder.decode());
  this.pending = '';
};

AnsiPane.prototype.feed = function (text) {
  text = this.pending + text;
  this.pending = '';
  var plain = '', i = 0;
  while (i < text.length) {
    var c = text[i];
    if (c !== '\x1b') {
      plain += c;
      ++i;
      continue;
    }
    var match = /^\x1b(\[[0-?]*[ -\/]*[@-~]|[@-Z\\-_])/.exec(text.slice(i));
    if (match === null) {
      if (text.length - i < 32 && /^\x1b(\[[0-?]*[ -\/]*)?$/.test(text.slice(i))) {
        this.pending = text.slice(i);  // the rest comes with the next write
        break;
      }
      ++i;  // a lone escape byte
      continue;
    }
    this.append(plain);
    plain = '';
    var sequence = match[1];
    if (sequence[0] === '[' && sequence[sequence.length - 1] === 'm') this.applySgr(sequence.slice(1, -1));
    i += match[0].length;
  }
  this.append(plain);
};

AnsiPane.prototype.applySgr = function (parameters) {
  var codes = parameters === '' ? [0] : parameters.split(';').map(function (p) { return p === '' ? 0 : Number(p); });
  var s = this.style;
  codes.forEach(function (n) {
    if (n === 0) { s.bold = false; s.fg = null; s.bg = null; }
    else if (n === 1) s.bold = true;
    else if (n === 22) s.bold = false;
    else if (n >= 30 && n <= 37) s.fg = n;
    else if (n >= 90 && n <= 97) s.fg = n - 60;
    else if (n === 39) s.fg = null;
    else if (n >= 40 && n <= 47) s.bg = n;
    else if (n === 49) s.bg = null;
  });
};

AnsiPane.prototype.append = function (text) {
  if (text === '' || this.full) return;
  if (this.shown + text.length > kPaneLimit) {
    text = text.slice(0, kPaneLimit - this.shown);
    this.full = true;
  }
  this.shown += text.length;
  var s = this.style, classes = [];
  if (s.bold) classes.push('sgr-bold');
  if (s.fg !== null) classes.push('fg-' + s.fg);
  if (s.bg !== null) classes.push('bg-' + s.bg);
  if (classes.length === 0) {
    this.pre.appendChild(document.createTextNode(text));
  } else {
    var span = document.createElement('span');
    span.className = classes.join(' ');
    span.textContent = text;
    this.pre.appendChild(span);
  }
  if (this.full) {
    var note = document.createElement('span');
    note.className = 'note';
    note.textContent = '\n[output cut here: more than ' + kPaneLimit + ' characters]';
    this.pre.appendChild(note);
  }
};

// ---- highlighting -----------------------------------------------------------------

// The editor pane is a textarea with transparent text over a <pre> that shows
// the same text in coloured spans. The spans come from the editors' TextMate
// grammar (MOX_GRAMMAR): its texts nest, so they are scanned here with their
// escapes; every other rule of its expression is one regular expression,
// tried in the grammar's order at each position. A span's class is the
// first two parts of its scope name ('tm-constant-numeric').
function grammarRules() {
  var repository = MOX_GRAMMAR.repository, rules = [];
  repository.expression.patterns.forEach(function (include) {
    var rule = repository[include.include.slice(1)];
    if (rule.match === undefined) return;  // texts, parentheses and braces
    rules.push({ re: new RegExp(rule.match, 'y'), name: rule.name, captures: rule.captures });
  });
  return rules;
}

function scopeClass(scope) {
  return scope ? 'tm-' + scope.split('.').slice(0, 2).join('-') : null;
}

function Highlighter(pre) {
  this.pre = pre;
  this.rules = grammarRules();
  this.escape = new RegExp(MOX_GRAMMAR.repository.text.patterns[0].match, 'y');
  this.textClass = scopeClass(MOX_GRAMMAR.repository.text.name);
  this.escapeClass = scopeClass(MOX_GRAMMAR.repository.text.patterns[0].name);
}

Highlighter.prototype.show = function (text) {
  var pre = this.pre, plain = '';
  pre.textContent = '';
  function flush() {
    if (plain !== '') pre.appendChild(document.createTextNode(plain));
    plain = '';
  }
  function span(cls, part) {
    if (cls === null) { plain += part; return; }
    flush();
    var s = document.createElement('span');
    s.className = cls;
    s.textContent = part;
    pre.appendChild(s);
  }
  var i = 0;
  while (i < text.length) {
    if (text[i] === '[') { i = this.text(text, i, span); continue; }
    var m = null, rule = null;
    for (var r = 0; r < this.rules.length && m === null; ++r) {
      rule = this.rules[r];
      rule.re.lastIndex = i;
      m = rule.re.exec(text);
      if (m !== null && m[0] === '') m = null;
    }
    if (m === null) { plain += text[i++]; continue; }
    if (rule.captures === undefined) {
      span(scopeClass(rule.name), m[0]);
    } else {  // the captured groups are in order and cover the match with what lies between
      var at = 0;
      for (var g = 1; g < m.length; ++g) {
        if (m[g] === undefined) continue;
        var start = m[0].indexOf(m[g], at);
        plain += m[0].slice(at, start);
        span(rule.captures[g] ? scopeClass(rule.captures[g].name) : null, m[g]);
        at = start + m[g].length;
      }
      plain += m[0].slice(at);
    }
    i += m[0].length;
  }
  flush();
  pre.appendChild(document.createTextNode('\n'));  // keeps a last empty line as tall as the textarea's
};

// A text from its opening bracket at `start` to the bracket that closes it
// (or the end), its escapes marked; returns where it ends.
Highlighter.prototype.text = function (text, start, span) {
  var depth = 0, i = start, from = start;
  while (i < text.length) {
    this.escape.lastIndex = i;
    var m = depth > 0 ? this.escape.exec(text) : null;
    if (m !== null) {
      span(this.textClass, text.slice(from, i));
      span(this.escapeClass, m[0]);
      i += m[0].length;
      from = i;
      continue;
    }
    if (text[i] === '[') ++depth;
    else if (text[i] === ']' && --depth === 0) { ++i; break; }
    ++i;
  }
  span(this.textClass, text.slice(from, i));
  return i;
};

// ---- runs -------------------------------------------------------------------------

var page = {
  program: document.getElementById('program'),
  highlight: new Highlighter(document.getElementById('highlight')),
  args: document.getElementById('args'),
  run: document.getElementById('run'),
  stop: document.getElementById('stop'),
  status: document.getElementById('status'),
  examples: document.getElementById('examples'),
  panes: { 1: new AnsiPane(document.getElementById('stdout')), 2: new AnsiPane(document.getElementById('stderr')) },
};

var workerUrl = URL.createObjectURL(new Blob([MOX_WORKER_SOURCE], { type: 'text/javascript' }));
var worker = null, workerReady = false, running = false, startedAt = 0;
var queued = { 1: [], 2: [] }, flushTimer = null;

function setState(state) {
  document.body.dataset.state = state;
  page.run.disabled = state !== 'ready';
  page.stop.disabled = state !== 'running';
}

function showStatus(text, failed) {
  page.status.textContent = text;
  page.status.className = failed ? 'failed' : '';
}

// Output is queued and drawn a few times a second, so that a program that
// writes in a tight loop does not keep the page busy with one redraw each.
function flushOutput() {
  flushTimer = null;
  [1, 2].forEach(function (fd) {
    queued[fd].forEach(function (bytes) { page.panes[fd].write(bytes); });
    queued[fd] = [];
  });
}

function queueOutput(fd, bytes) {
  queued[fd].push(bytes);
  if (flushTimer === null) flushTimer = setTimeout(flushOutput, 30);
}

function startWorker() {
  worker = new Worker(workerUrl);
  workerReady = false;
  worker.onmessage = function (event) {
    var m = event.data;
    if (m.type === 'ready') {
      workerReady = true;
      if (document.body.dataset.state === 'loading' && page.status.textContent.indexOf('Loading') === 0) {
        showStatus('ready', false);
      }
      if (!running) setState('ready');
    } else if (m.type === 'output' && running) {
      queueOutput(m.fd, m.bytes);
    } else if (m.type === 'exit' && running) {
      finishRun(m);
    }
  };
  worker.onerror = function (event) {
    if (running) {
      finishRun({ status: 139, ending: 'trap', note: event.message || 'the worker failed' });
    } else if (!workerReady) {
      showStatus('The interpreter could not start: ' + (event.message || 'the worker failed'), true);
    }
  };
}

// A run's worker is used up: the next run gets a new one, started now so
// that it is loaded by the time it is wanted.
function replaceWorker() {
  worker.terminate();
  startWorker();
}

function finishRun(m) {
  running = false;
  flushOutput();
  page.panes[1].finish();
  page.panes[2].finish();
  var seconds = ((performance.now() - startedAt) / 1000).toFixed(2);
  if (m.ending === 'exit') {
    // The status is the program's result; it is marked only when the run
    // also complained on standard error (a banner, say).
    showStatus('exit status ' + m.status + ' (' + seconds + ' s)', page.panes[2].shown > 0);
  } else {
    var what = m.ending === 'abort' ? 'aborted' : 'stopped by the WebAssembly machine';
    showStatus(what + ': exit status ' + m.status + (m.note ? ' — ' + m.note : ''), true);
  }
  replaceWorker();
  setState(workerReady ? 'ready' : 'loading');
}

function run() {
  if (running || !workerReady) return;
  running = true;
  page.panes[1].reset();
  page.panes[2].reset();
  showStatus('running…', false);
  setState('running');
  startedAt = performance.now();
  worker.postMessage({ type: 'run', program: page.program.value, args: splitArguments(page.args.value) });
}

// Stop ends the worker where it is: nothing more of the run is seen, and the
// program's shut function is not run (there is no interrupt to deliver).
function stop() {
  if (!running) return;
  running = false;
  flushOutput();
  page.panes[1].finish();
  page.panes[2].finish();
  replaceWorker();
  showStatus('stopped after ' + ((performance.now() - startedAt) / 1000).toFixed(2) + ' s', true);
  setState('loading');
}

// ---- examples menu ----------------------------------------------------------------

function followScroll() {
  page.highlight.pre.scrollTop = page.program.scrollTop;
  page.highlight.pre.scrollLeft = page.program.scrollLeft;
}

function showProgram() {
  page.highlight.show(page.program.value);
  followScroll();
}

function loadExample(index) {
  var example = MOX_EXAMPLES[index];
  page.program.value = example.text;
  page.args.value = example.args;
  showProgram();
}

MOX_EXAMPLES.forEach(function (example, index) {
  var option = document.createElement('option');
  option.value = String(index);
  option.textContent = example.name + (example.summary ? ' — ' + example.summary : '');
  page.examples.appendChild(option);
});
page.examples.addEventListener('change', function () { loadExample(Number(page.examples.value)); });
page.program.addEventListener('input', showProgram);
page.program.addEventListener('scroll', followScroll);
page.run.addEventListener('click', run);
page.stop.addEventListener('click', stop);
page.program.addEventListener('keydown', function (event) {
  if (event.key === 'Enter' && event.ctrlKey) {
    event.preventDefault();
    run();
  }
});

if (MOX_EXAMPLES.length > 0) loadExample(0);
setState('loading');
startWorker();
