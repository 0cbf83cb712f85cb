// mox file args...
#include "driver/entry.h"

int main(int argc, char** argv) { return mox::ExitStatusFor(mox::MoxEntry(argc, argv)); }
