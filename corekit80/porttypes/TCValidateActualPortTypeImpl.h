#pragma once

// TCHelpTarget, the help file and topic for a module library.

#include "corekit80/types/TCString.h"

// The help target for topic when the caller lives in moduleFile: the topic itself when it
// is not empty and does not begin with "#"; otherwise the module file (its first 1024
// characters) with ".so" (and any version after it) or ".dll" replaced by ".htm" (added
// when the name has neither), followed by the topic.
TCString TCHelpTarget(const char* topic, const char* moduleFile);
