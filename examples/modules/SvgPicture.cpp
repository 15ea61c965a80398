// The picture of a signal as SVG text.
#include "SvgPicture.h"

#include <cmath>

#include "Envelope.h"
#include "SignalText.h"

namespace SvgPicture {

namespace {

constexpr double kLeft = 80, kRight = 24, kTop = 40, kBottom = 56;
// More ticks than this means a step that the numbers cannot show apart.
constexpr double kMaxTicks = 50;

struct Axis {
    double lo, hi;      // values at the ends
    double from, to;    // pixels at the ends
    double Pixel(double v) const { return from + (v - lo) / (hi - lo) * (to - from); }
};

// Appends the grid line and the label of every round value on the axis.
void AppendTicks(TCString& svg, const Axis& a, bool horizontal, double across0, double across1)
{
    const double step = RoundStep(a.hi - a.lo, horizontal ? 8 : 6);
    if (step <= 0)
        return;
    const double first = std::ceil(a.lo / step), last = std::floor(a.hi / step);
    if (!(last - first < kMaxTicks))
        return;
    for (double k = first; k <= last; ++k) {
        const double v = k == 0 ? 0 : k * step;
        const double p = a.Pixel(v);
        if (horizontal) {
            svg.FormatAppend("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"grid\"/>\n", p, across0, p,
                             across1);
            svg.FormatAppend("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">%g</text>\n", p, across1 + 16, v);
        } else {
            svg.FormatAppend("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" class=\"grid\"/>\n", across0, p,
                             across1, p);
            svg.FormatAppend("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"end\">%g</text>\n", across0 - 6, p + 4, v);
        }
    }
}

}  // namespace

double RoundStep(double span, int count)
{
    if (!std::isfinite(span) || !(span > 0) || count < 1)
        return 0;
    const double raw = span / count;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / magnitude;
    return (f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10) * magnitude;
}

TCString Draw(const Envelope& envelope, const char* name, const char* unit, int width, int height)
{
    double t0 = 0, t1 = 1, v0 = -1, v1 = 1;
    envelope.Bounds(&t0, &t1, &v0, &v1);
    if (!(t1 > t0))
        t1 = t0 + 1;
    if (!(v1 > v0)) {
        const double pad = v0 == 0 ? 1 : std::fabs(v0) / 2;
        v0 -= pad;
        v1 += pad;
    }
    // The value axis ends at round values around the signal.
    const double step = RoundStep(v1 - v0, 6);
    if (step > 0) {
        v0 = std::floor(v0 / step) * step;
        v1 = std::ceil(v1 / step) * step;
    }
    const Axis x = {t0, t1, kLeft, double(width) - kRight};
    const Axis y = {v0, v1, double(height) - kBottom, kTop};
    const TCString title = SignalText::Xml(name);
    TCString valueLabel = title;
    if (unit && *unit)
        valueLabel.FormatAppend(" [%s]", static_cast<const char*>(SignalText::Xml(unit)));

    TCString svg;
    svg.Format("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
               "font-family=\"sans-serif\" font-size=\"12\">\n"
               "<title>%s</title>\n"
               "<style>.grid { stroke: #d8d8d8; stroke-width: 1 }</style>\n"
               "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n"
               "<text x=\"%.1f\" y=\"24\" text-anchor=\"middle\" font-size=\"16\">%s</text>\n",
               width, height, width, height, static_cast<const char*>(title), (x.from + x.to) / 2,
               static_cast<const char*>(title));
    AppendTicks(svg, x, true, y.to, y.from);
    AppendTicks(svg, y, false, x.from, x.to);
    svg.FormatAppend("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"none\" stroke=\"black\"/>\n",
                     x.from, y.to, x.to - x.from, y.from - y.to);
    svg.FormatAppend("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\">time [s]</text>\n", (x.from + x.to) / 2,
                     double(height) - 12);
    svg.FormatAppend("<text transform=\"translate(18 %.1f) rotate(-90)\" text-anchor=\"middle\">%s</text>\n",
                     (y.from + y.to) / 2, static_cast<const char*>(valueLabel));
    svg += "<polyline fill=\"none\" stroke=\"#1f5fa8\" stroke-width=\"1.2\" points=\"";
    for (const Envelope::Point& p : envelope.Points())
        svg.FormatAppend("%.1f,%.1f ", x.Pixel(p.t), y.Pixel(p.v));
    svg += "\"/>\n</svg>\n";
    return svg;
}

}  // namespace SvgPicture
