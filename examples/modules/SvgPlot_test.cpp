// The SVG plot run by the module harness: the picture parses as XML (libxml2) and shows the
// signal's name, unit and peaks; the envelope keeps the extremes in bounded memory.
#include <gtest/gtest.h>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <corekit80/modules/TCModuleHarness.h>
#include <corekit80/streams/TCTypeInfo.h>

#include "Envelope.h"
#include "SampleFiles_test.h"
#include "SvgPicture.h"
#include "SvgPlot.h"

namespace {

using namespace sample_test;

// What a reader finds in the picture: the texts and the line's points.
struct Picture {
    std::vector<std::string> texts;
    std::vector<std::pair<double, double>> points;
    bool parsed = false;
};

void Walk(xmlNode* node, Picture& p)
{
    for (; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        const char* name = reinterpret_cast<const char*>(node->name);
        if (!std::strcmp(name, "text") || !std::strcmp(name, "title")) {
            xmlChar* text = xmlNodeGetContent(node);
            p.texts.emplace_back(reinterpret_cast<const char*>(text));
            xmlFree(text);
        }
        if (!std::strcmp(name, "polyline")) {
            xmlChar* points = xmlGetProp(node, reinterpret_cast<const xmlChar*>("points"));
            double x, y;
            int used = 0;
            for (const char* s = reinterpret_cast<const char*>(points); std::sscanf(s, "%lf,%lf%n", &x, &y, &used) == 2;
                 s += used)
                p.points.emplace_back(x, y);
            xmlFree(points);
        }
        Walk(node->children, p);
    }
}

Picture Parse(const std::string& svg)
{
    Picture p;
    xmlDocPtr doc = xmlReadMemory(svg.data(), int(svg.size()), "plot.svg", nullptr, XML_PARSE_NONET);
    if (!doc)
        return p;
    p.parsed = !std::strcmp(reinterpret_cast<const char*>(xmlDocGetRootElement(doc)->name), "svg");
    Walk(xmlDocGetRootElement(doc), p);
    xmlFreeDoc(doc);
    return p;
}

bool Holds(const Picture& p, const std::string& text)
{
    for (const std::string& t : p.texts)
        if (t == text)
            return true;
    return false;
}

TEST(SvgPlot, APictureWithNameUnitAxesAndEveryPeak)
{
    const struct {
        int values;
        const char* name;
        const char* unit;
        const char* label;  // beside the value axis
    } cases[] = {
        {5, "Sine", "V", "Sine [V]"},
        {100000, "a<b & \"c\"", "m s^-2", "a<b & \"c\" [m s^-2]"},
        {1, "Flat", "", "Flat"},
        {3, "Spannung \xC3\x9C \xFF\xC3", "V", "Spannung \xC3\x9C ?? [V]"},  // not UTF-8: '?'
    };
    ScratchDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("plot.svg");
        SvgPlot plot(0);
        plot.settings.fileName = path.c_str();
        TCModuleHarness host(plot);
        ASSERT_EQ(host.Start(), 0);
        TCTypeInfo ti;
        ti.Name = c.name;
        ti.Unit.FromString(c.unit);
        ti.Samplerate = 1000;
        std::vector<double> v(size_t(c.values), 0.5);
        v[size_t(c.values) / 3] = 9;  // one peak, which decimation must keep
        for (size_t at = 0; at < v.size(); at += 4096)
            host.Write(0, v.data() + at, int(std::min<size_t>(4096, v.size() - at)), &ti);
        host.Run(100);
        host.Stop();
        const Picture p = Parse(ReadFile(path));
        ASSERT_TRUE(p.parsed) << c.name;
        EXPECT_TRUE(Holds(p, std::string(c.label).substr(0, std::string(c.label).rfind(" ["))) && Holds(p, c.label) &&
                    Holds(p, "time [s]"))
            << c.label;
        ASSERT_FALSE(p.points.empty());
        EXPECT_LE(p.points.size(), 4000u) << c.name;
        double top = 1e9;
        for (const auto& [x, y] : p.points)
            top = std::min(top, y);
        if (c.values > 1) {
            EXPECT_LT(top, p.points.front().second) << "the peak is drawn above the rest";
        }
    }
}

TEST(SvgPlot, RoundStepsAndTheEnvelopeOfALongSignal)
{
    const struct {
        double span;
        int count;
        double step;
    } steps[] = {{10, 5, 2}, {1, 8, 0.1}, {0.003, 6, 0.0005}, {7e6, 6, 1e6}, {0, 5, 0}, {INFINITY, 5, 0}};
    for (const auto& s : steps)
        EXPECT_DOUBLE_EQ(SvgPicture::RoundStep(s.span, s.count), s.step) << s.span;

    Envelope e(10);
    for (int i = 0; i < 1000; ++i)
        e.Add(i, i == 123 ? -5 : i == 700 ? 8 : i % 3);
    e.Add(1000, NAN);
    EXPECT_EQ(e.Count(), 1001);
    const std::vector<Envelope::Point> points = e.Points();
    EXPECT_LE(points.size(), 20u);
    double t0, t1, v0, v1;
    ASSERT_TRUE(e.Bounds(&t0, &t1, &v0, &v1));
    EXPECT_EQ(v0, -5);
    EXPECT_EQ(v1, 8);
    for (size_t i = 1; i < points.size(); ++i)
        EXPECT_LT(points[i - 1].t, points[i].t);
}

}  // namespace
