#pragma once

// The kernel's numeric id of the calling thread (as shown by ps -L and in /proc).
// It is read once per thread and kept.
int TCCurrentThreadId();
