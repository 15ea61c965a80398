#pragma once

// SvgPicture, the picture of a signal as SVG text.

#include <corekit80/types/TCString.h>

class Envelope;

namespace SvgPicture {

// The picture of the kept points of envelope, width by height pixels: name as the title,
// "time [s]" under the time axis, name and unit beside the value axis, ticks at round
// numbers with a grid, the points as one line. name and unit are plain text.
TCString Draw(const Envelope& envelope, const char* name, const char* unit, int width, int height);

// A round step (1, 2 or 5 times a power of ten) that cuts span into about count parts;
// 0 for a span that is not finite and above 0.
double RoundStep(double span, int count);

}  // namespace SvgPicture
