// mox file args...
//
// The interpreter runs on a thread with a large stack, a safety margin for
// any deep walk; SIGINT is blocked here so that it reaches that thread and
// interrupts its blocking calls. C's streams are set up first, before
// anything is written (bridge/streams.h).
#include <pthread.h>

#include <csignal>

#include "bridge/streams.h"
#include "driver/entry.h"

namespace {

struct Invocation {
  int argc;
  char** argv;
  int32_t code;
};

void* RunEntry(void* p) {
  auto* call = static_cast<Invocation*>(p);
  call->code = mox::MoxEntry(call->argc, call->argv);
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  mox::PrepareCStreams();
  Invocation call{argc, argv, 0};
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t{1} << 30);
  pthread_t thread;
  if (pthread_create(&thread, &attr, RunEntry, &call) != 0) {
    RunEntry(&call);  // no thread to be had: run on this stack
  } else {
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, nullptr);
    pthread_join(thread, nullptr);
  }
  return mox::ExitStatusFor(call.code);
}
