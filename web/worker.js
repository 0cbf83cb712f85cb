// The playground's Web Worker: one interpreter, one run. bundle.py puts the
// module factory of mox_web.js (createMox) in front of this script, and the
// page makes the two into a blob worker. The page ends the worker to stop a
// run and starts a fresh one for the next, so that every run begins from a
// new process image, as a console run does.
//
// Messages from the page: {type: 'run', program: text, args: [text...]}.
// Messages to the page:
//   {type: 'ready'}                          the interpreter is loaded
//   {type: 'output', fd: 1 or 2, bytes}      one write of the program
//   {type: 'exit', status, ending, note}     the run is over; ending is
//       'exit' (status is the process's exit status), 'abort' (abort() or
//       an internal assertion: 134, as a shell reports SIGABRT) or 'trap'
//       (the WebAssembly machine stopped the run, where a console process
//       would have died of a signal, SIGSEGV say: 139).
'use strict';

var moxNotes = [];
var moxModule = createMox({
  moxWrite: function (fd, bytes) { postMessage({ type: 'output', fd: fd, bytes: bytes }, [bytes.buffer]); },
  // The runtime's own messages (an abort's reason, say) go to the status
  // line, not into the program's standard error.
  print: function (text) { moxNotes.push(text); },
  printErr: function (text) { moxNotes.push(text); },
});

moxModule.then(function () { postMessage({ type: 'ready' }); });

function moxRun(mod, program, args) {
  mod.FS.writeFile('program.mox', new TextEncoder().encode(program));
  var status, ending = 'exit';
  try {
    status = mod.callMain(['program.mox'].concat(args));
  } catch (e) {
    var aborted = String(e && e.message).indexOf('Aborted') >= 0;
    ending = aborted ? 'abort' : 'trap';
    status = aborted ? 134 : 139;
    if (!aborted) moxNotes.push(String(e));
  }
  try {
    mod._fflush(0);  // what C's streams still hold, as exit() would write it out
  } catch (e) {}
  // A POSIX shell sees the low 8 bits of the exit code.
  postMessage({ type: 'exit', status: status & 255, ending: ending, note: moxNotes.join('\n') });
}

onmessage = function (event) {
  var message = event.data;
  if (message.type !== 'run') return;
  moxModule.then(function (mod) { moxRun(mod, message.program, message.args || []); });
};
