// Built with -fkeep-inline-functions against libcorekit80.so only: every inline function of
// every public header is emitted here, so one that calls a symbol the library does not
// export fails to link.
#include <corekit80/corekit80.h>

int main() { return 0; }
