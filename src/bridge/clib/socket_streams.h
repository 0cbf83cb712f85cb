// C streams on sockets that never raise SIGPIPE.
//
// A stream that fdopen makes on a socket writes with send(MSG_NOSIGNAL), as
// the bridge's write and send do: when the peer has gone, the write fails
// and the stream takes its error flag (errno EPIPE), and the interpreter
// goes on, instead of being ended by the signal in whatever flush meets the
// broken connection (fflush, fclose, the flush before a message of the
// interpreter, or the one at exit). Streams on anything else are C's own.
#pragma once

#include <cstdio>

namespace mox {

// Whether fd is an open socket.
bool IsSocket(int fd);

// fdopen as the program calls it: a stream of our own when fd is a socket.
FILE* OpenDescriptor(int fd, const char* mode);

// fileno, which knows the descriptors of the socket streams too.
int StreamDescriptor(FILE* stream);

}  // namespace mox
