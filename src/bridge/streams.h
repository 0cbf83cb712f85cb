// How the bridge's C streams share the standard descriptors with the
// interpreter's own output.
//
// A program writes through C stdio (puts, fputs to stdout, perror), through
// descriptor writes (write), and through processes it starts (system); the
// interpreter writes its own messages (Banners, assertions) straight to the
// descriptors. So that these come out in the order they were made in the
// cases a user meets:
//   - C's standard output is line-buffered, also into a pipe or a file, as
//     on a terminal: a finished line is out before anything else is written;
//   - the interpreter flushes C's streams before each message of its own
//     (core/output.cpp, core/assert.cpp);
//   - exit, abort and the end of the run flush them before the process ends.
// Output that a program leaves in a partial line and then writes past C
// (write 1, system) comes later, as in C.
#pragma once

namespace mox {

// Sets C's standard output line-buffered; once, before anything is written.
void PrepareCStreams();

}  // namespace mox
