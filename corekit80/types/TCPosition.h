#pragma once

// A place in a list or map, handed out by the container and given back to it;
// callers only compare it with null.
typedef struct __POSITION* POSITION;
