// The block buffer against a model (a vector of copied blocks) over random reads, writes,
// concatenations, copies and removals, with the module harness feeding real port blocks of
// every element type; then what the model leaves out: type information and the common
// status of a concatenation, the reuse of removed blocks and its bound.
#include <gtest/gtest.h>

#include <deque>
#include <iterator>
#include <numeric>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelperProbe_test.h"
#include "corekit80/streams/TCIOStream.h"
#include "corekit80/streams/TCTypeInfo.h"

namespace {

using namespace port_probe_test;
using H = TCPortHelper;
using TCBlock = TCBlockBuffer::TCBlock;

// Port k is input k and output k; the pointer port's blocks are kept as binary records.
const unsigned long kCodes[] = {H::DT_SWORD,        H::DT_SWORD_1,     H::DT_SWORD_ARRAY, H::DT_SWORD_MATRIX,
                                H::DT_DOUBLE,       H::DT_DOUBLE_1,    H::DT_DOUBLE_ARRAY, H::DT_DOUBLE_MATRIX,
                                H::DT_STRING,       H::DT_STRING_ARRAY, H::DT_POINTER};
constexpr unsigned kPorts = std::size(kCodes);

unsigned long TypeOf(unsigned port) { return kCodes[port] & H::DT_ELEMENT_BITS; }
bool IsMatrix(unsigned long t) { return t == 0x8 || t == 0x80; }
bool IsText(unsigned long t) { return (t & H::DT_STRING_FAMILY) != 0; }
bool IsInt(unsigned long t) { return (t & 0xF) != 0; }
unsigned long Group(unsigned long t) { return IsMatrix(t) ? t : IsText(t) ? 0x300 : IsInt(t) ? 0x7 : t ? 0x70 : 0; }

// A block as the model keeps it: numbers (ints are small enough for doubles), texts, or
// the binary record as one text.
struct Block {
    explicit Block(unsigned long t = 0) : type(t) {}
    unsigned long type;
    std::vector<double> nums;
    std::vector<std::string> texts;
    unsigned cols = 0;
    int Size() const { return type == 0 ? int(texts[0].size()) : IsText(type) ? int(texts.size()) : int(nums.size()); }
    bool operator==(const Block&) const = default;
    // What a port of type t holds of it: its last value for the single-value types.
    Block At(unsigned long t) const
    {
        Block b = *this;
        b.type = t;
        if ((t & H::DT_SINGLE_VALUE) && Size() > 1) {
            b.nums.erase(b.nums.begin(), b.nums.end() - (nums.empty() ? 0 : 1));
            b.texts.erase(b.texts.begin(), b.texts.end() - (texts.empty() ? 0 : 1));
        }
        return b;
    }
};

void PrintTo(const Block& b, std::ostream* os)
{
    *os << "{type " << b.type << ", cols " << b.cols << ",";
    for (double v : b.nums)
        *os << " " << v;
    for (const std::string& t : b.texts)
        *os << " '" << t << "'";
    *os << "}";
}

std::string Text(const TCString& s) { return std::string(static_cast<const char*>(s), size_t(s.GetLength())); }
std::string Cut(const std::string& s, bool binary) { return binary ? s : s.substr(0, s.find('\0')); }

// The buffer's block i as a model block.
Block Seen(const TCBlock& b)
{
    Block m(b.DataType());
    m.cols = IsMatrix(m.type) ? b.GetColumns() : 0;
    const void* d = const_cast<TCBlock&>(b).GetData();
    for (int i = 0; i < b.GetSize(); ++i)
        if (IsText(m.type))
            m.texts.push_back(Text(static_cast<const TCString*>(d)[i]));
        else if (m.type)
            m.nums.push_back(IsInt(m.type) ? static_cast<const int*>(d)[i] : static_cast<const double*>(d)[i]);
    if (m.type == 0)
        m.texts.emplace_back(static_cast<const char*>(d), size_t(b.GetSize()));
    return m;
}

// The blocks an output's line holds, taken off it.
std::vector<Block> Drain(TCModuleHarness& host, unsigned output)
{
    std::vector<Block> out;
    TCIOStream& s = *host.Collector(output);
    for (unsigned long t = TypeOf(output); s.GetBlockCnt(nullptr) > 0;) {
        Block m(t);
        int rows = 0, cols = 0, n = 0;
        if (t == 0) {
            m.texts.emplace_back(size_t(s.SerializeBlock(nullptr, false)), '\0');
            s.SerializeBlock(m.texts[0].data(), false);
        } else if (IsText(t)) {
            const TCString* v = nullptr;
            n = s.PeekStrData(0, v);
            for (int i = 0; i < n; ++i)
                m.texts.push_back(Text(v[i]));
        } else if (IsInt(t)) {
            const int* v = nullptr;
            if ((n = s.PeekIntData(0, v, &rows, &cols)) > 0)
                m.nums.assign(v, v + n);
        } else {
            const double* v = nullptr;
            if ((n = s.PeekDblData(0, v, &rows, &cols)) > 0)
                m.nums.assign(v, v + n);
        }
        m.cols = IsMatrix(t) ? unsigned(cols) : 0;
        if (t)
            s.RemoveContents(false);
        out.push_back(m);
    }
    return out;
}

// The record of a pointer block as the stream writes it.
std::string Record(const void* p, int n)
{
    TCIOStream s;
    s.AddOutputStream(s.SetInputStream(3));
    s.WritePtr(p, n);
    std::string r(size_t(s.SerializeBlock(nullptr, true)), '\0');
    s.SerializeBlock(r.data(), true);
    s.DeleteStreams();
    return r;
}

struct Fixture {
    Fixture()
    {
        for (unsigned k = 0; k < kPorts; ++k) {
            module.Ports().SetPort(PT_INPUT, k, ("In" + std::to_string(k)).c_str(), kCodes[k]);
            module.Ports().SetPort(PT_OUTPUT, k, ("Out" + std::to_string(k)).c_str(), kCodes[k]);
        }
        buffer.SetPortHelper(&module.Ports());
    }
    // A random block of the port's type at the input's producer; what the input delivers.
    Block Feed(std::mt19937& rng, unsigned port)
    {
        const unsigned long t = TypeOf(port);
        Block b(t);
        const int rows = int(rng() % 3 + 1), cols = int(rng() % 3 + 1);
        // Matrices go out by reference: their values live as long as the fixture.
        std::vector<int>& ints = matrixInts.emplace_back(size_t(rows * cols));
        std::vector<double>& dbls = matrixDoubles.emplace_back(ints.size());
        std::vector<TCString> texts(ints.size());
        for (size_t i = 0; i < ints.size(); ++i) {
            ints[i] = int(rng() % 2001) - 1000;
            dbls[i] = ints[i] / 8.0;
            std::string s(rng() % 6, 'a');
            for (char& c : s)
                c = "ab\0c"[rng() % 4];
            texts[i] = TCString(s.data(), int(s.size()));
            b.nums.push_back(IsInt(t) ? ints[i] : dbls[i]);
            b.texts.push_back(s);
        }
        if (!IsText(t))
            b.texts.clear();
        if (t == 0 || IsText(t))
            b.nums.clear();
        b.cols = IsMatrix(t) ? unsigned(cols) : 0;
        if (t == 0)
            b.texts = {Record(this, rows)};
        EXPECT_EQ(host.WriteWith(port, [&](TCIOStream& s) {
            const int n = rows * cols;
            return t == 0          ? s.WritePtr(this, rows)
                   : t == 0x8      ? s.WriteIntMat(ints.data(), rows, cols)
                   : t == 0x80     ? s.WriteDblMat(dbls.data(), rows, cols)
                   : IsText(t)     ? s.WriteStrVec(texts.data(), n)
                   : IsInt(t)      ? s.WriteIntVec(ints.data(), n)
                                   : s.WriteDblVec(dbls.data(), n);
        }), 0);
        return b.At(t);
    }
    int Do(const std::function<int(TCBlockBuffer&)>& f)
    {
        int r = 0;
        Step(host, module, [&](H&) {
            r = f(buffer);
            return 0;
        });
        return r;
    }

    std::deque<std::vector<int>> matrixInts;
    std::deque<std::vector<double>> matrixDoubles;
    Probe module;
    TCModuleHarness host{module};
    TCBlockBuffer buffer;
};

// What writing block b to an output of type t gives, and the blocks it puts on the line;
// lineHolds: the line still holds a block (a second matrix waits for the first).
int Expect(const Block& b, unsigned long t, bool lineHolds, std::vector<Block>& out)
{
    if (Group(b.type) && !(Group(b.type) & t))
        return 0;
    if (b.type == 0) {
        out.push_back(t == 0 ? b : Block(t));
        return t == 0 ? b.Size() : -2;  // a record that is not of the output's kind is refused
    }
    if (b.Size() == 0)
        return 0;
    if (IsMatrix(t) && lineHolds)
        return -19;
    out.push_back(b.At(t));
    return 1;
}

// What a concatenation to an output of type t gives, and the block it writes.
int ExpectJoined(const std::vector<Block>& model, unsigned long t, bool binary, std::vector<Block>& out)
{
    if (t != 0x4 && t != 0x40 && t != 0x100 && t != 0x200)
        return -14;
    Block w(t);
    for (const Block& b : model) {
        if (b.type != t)
            return 0;
        w.nums.insert(w.nums.end(), b.nums.begin(), b.nums.end());
        for (const std::string& s : b.texts)
            w.texts.push_back(t == 0x100 ? Cut(s, binary) : s);
    }
    if (t == 0x100)
        w.texts = {std::accumulate(w.texts.begin(), w.texts.end(), std::string())};
    if (w.Size() > 0 || t == 0x100)
        out.push_back(w);
    return 0;
}

TEST(TCBlockBuffer, FollowsAModelOverRandomOperations)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        Fixture f;
        ASSERT_EQ(f.host.Start(), 0);
        std::vector<Block> model;
        std::deque<Block> waiting[kPorts];
        bool binary = false;
        // Feeds 1 to 3 blocks at port, of which the buffer reads one or all; the count read.
        const auto feedAndRead = [&](unsigned port, bool all, int& result) {
            for (unsigned n = rng() % 3 + 1; n > 0; --n)
                waiting[port].push_back(f.Feed(rng, port));
            const int count = all ? int(waiting[port].size()) : 1;
            for (int k = 0; k < count; ++k, waiting[port].pop_front())
                model.push_back(waiting[port].front());
            result = f.Do([&](TCBlockBuffer& b) { return b.ReadBlock(port, all); });
            return count;
        };
        for (int step = 0; step < 300; ++step) {
            const unsigned port = unsigned(rng() % kPorts);
            const unsigned i = unsigned(rng() % (model.size() + 2));
            const bool flag = rng() % 2;
            std::vector<Block> want;
            int expected = 0, result = 0;
            switch (rng() % 9) {
            case 0:
            case 1:
                expected = feedAndRead(port, flag, result);
                break;
            case 2:
            case 3:
                if (i < model.size())
                    expected = Expect(model[i], TypeOf(port), false, want);
                result = f.Do([&](TCBlockBuffer& b) { return b.WriteBlock(port, i); });
                break;
            case 4:
                for (const Block& b : model)
                    if ((expected = Expect(b, TypeOf(port), !want.empty(), want)) < 0)
                        break;
                expected = std::min(expected, 0);
                result = f.Do([&](TCBlockBuffer& b) { return b.WriteAllBlocks(port, false); });
                break;
            case 5:
                if (flag) {  // blocks of one type only, so that they join
                    model.clear();
                    f.buffer.RemoveAll(false);
                    ASSERT_EQ(feedAndRead(port, true, result), result);
                }
                expected = ExpectJoined(model, TypeOf(port), binary, want);
                result = f.Do([&](TCBlockBuffer& b) { return b.WriteAllBlocks(port, true); });
                break;
            case 6:  // deep copies, by construction and by assignment
                if (i < model.size() && flag) {
                    model.push_back(model[i]);
                    f.buffer.Add(new TCBlock(*f.buffer[i]));
                } else if (i < model.size() && !model.empty()) {
                    model.front() = model[i];
                    *f.buffer[0] = *f.buffer[i];
                }
                break;
            case 7:
                if (i < model.size())
                    model.erase(model.begin() + i);
                f.buffer.RemoveAt(i, flag);
                break;
            default:
                if (rng() % 2 == 0) {
                    model.clear();
                    f.buffer.RemoveAll(flag);
                }
                f.buffer.SetBinStr(binary = flag);
            }
            const std::string at = "seed " + std::to_string(seed) + " step " + std::to_string(step);
            ASSERT_EQ(result, expected) << at;
            ASSERT_EQ(Drain(f.host, port), want) << at;
            f.host.ClearRecords();
            ASSERT_EQ(f.buffer.GetSize(), int(model.size())) << at;
            long long elems = 0, bytes = 0, chars = 0;
            for (unsigned k = 0; k < model.size(); ++k) {
                ASSERT_EQ(Seen(*f.buffer[k]), model[k]) << at << " block " << k;
                elems += model[k].Size();
                int len = 0;
                for (const std::string& s : model[k].texts)
                    len += int(Cut(s, binary).size());
                const long long before = chars;
                chars += model[k].type == 0x100 ? len : 0;
                // Arrays of texts count nothing: their blocks' StrLen is 0.
                bytes += IsText(model[k].type) ? chars - before : f.buffer.ElemSize(int(k)) * model[k].Size();
            }
            EXPECT_EQ(f.buffer.CountElems(), elems) << at;
            EXPECT_EQ(f.buffer.StrLen(), chars) << at;
            EXPECT_EQ(f.buffer.GetDataSize(), bytes) << at;
            EXPECT_EQ(f.buffer[unsigned(model.size())], nullptr) << at;
        }
    }
}

TCTypeInfo Info(const char* name, TCBLOCKSTATUS state, double timestamp)
{
    TCTypeInfo ti;
    ti.Name = name;
    ti.State = state;
    ti.Timestamp = timestamp;
    ti.Samplerate = 100;
    return ti;
}

// Blocks keep the type information they were read with and go out with it; a
// concatenation carries the last block's, with the status of all of them.
TEST(TCBlockBuffer, TypeInformationAndCommonStatus)
{
    const struct {
        TCBLOCKSTATUS states[3];
        int n;
        TCBLOCKSTATUS joined;
    } rows[] = {
        {{TCBS_START, TCBS_BUSY, TCBS_STOP}, 3, TCBS_COMPLETE}, {{TCBS_START, TCBS_BUSY}, 2, TCBS_START},
        {{TCBS_BUSY, TCBS_STOP}, 2, TCBS_STOP},                 {{TCBS_BUSY}, 1, TCBS_BUSY},
        {{TCBS_COMPLETE}, 1, TCBS_COMPLETE},
    };
    for (const auto& row : rows) {
        Probe module;
        module.Ports().SetPort(PT_INPUT, 0, "In", H::DT_SWORD_ARRAY | H::DT_TYPEINFO);
        module.Ports().SetPort(PT_OUTPUT, 0, "Out", H::DT_SWORD_ARRAY | H::DT_TYPEINFO);
        TCModuleHarness host(module);
        ASSERT_EQ(host.Start(), 0);
        for (int k = 0; k < row.n; ++k)
            host.WriteWith(0, [&](TCIOStream& s) {
                const TCTypeInfo ti = Info(k + 1 == row.n ? "last" : "other", row.states[k], 1000.0 + k);
                s.SetTI(&ti, false);
                return s.WriteIntVec(&k, 1);
            });
        TCBlockBuffer buffer;
        buffer.SetPortHelper(&module.Ports());
        Step(host, module, [&](H&) {
            EXPECT_EQ(buffer.ReadBlock(0, true), row.n);
            EXPECT_EQ(buffer.WriteAllBlocks(0, true), 0);
            return 0;
        });
        ASSERT_EQ(host.OutputBlockCnt(0), 1);
        EXPECT_EQ(host.OutputInts(0, 0).GetSize(), row.n);
        const TCTypeInfo* out = host.OutputTI(0, 0);
        ASSERT_NE(out, nullptr);
        EXPECT_EQ(out->State, row.joined);
        EXPECT_STREQ(out->Name, "last");
        EXPECT_EQ(out->Timestamp, 1000.0 + row.n - 1);
        EXPECT_EQ(out->Samplerate, 100);
        host.Collector(0)->RemoveContents(true);
        // One block goes out with its own type information.
        TCTypeInfo first;
        EXPECT_EQ(buffer[0]->GetTI(first), row.states[0]);
        Step(host, module, [&](H&) { return buffer.WriteBlock(0, 0) == 1 ? 0 : 1; });
        ASSERT_EQ(host.OutputBlockCnt(0), 1);
        EXPECT_EQ(host.OutputTI(0, 0)->State, row.states[0]);
        EXPECT_EQ(host.OutputTI(0, 0)->Timestamp, 1000.0);
    }
}

// Removed blocks are kept for reuse with their storage: one by one while they number at most
// 2 per block left plus 20 before joining, 10 after removing all. A kept block serves a new
// one of its type within its storage; without port helper nothing is read or written.
TEST(TCBlockBuffer, KeepsRemovedBlocksWithinTheBound)
{
    TCBlockBuffer buffer;
    EXPECT_EQ(buffer.ReadBlock(0, true), -1);
    EXPECT_EQ(buffer.WriteBlock(0, 0), -1);
    EXPECT_EQ(buffer.WriteAllBlocks(0, true), -1);
    // A block of 8 doubles taken again for fewer keeps its storage of 8.
    const auto reused = [&](unsigned long type, unsigned n, int count) {
        int kept = 0;
        for (int i = 0; i < count; ++i)
            kept += buffer.NewBlock(type, n)->GetAllocSpace() != int(n);
        return kept;
    };
    EXPECT_EQ(reused(0x40, 8, 30), 0);
    for (int i = 0; i < 30; ++i)
        buffer.RemoveAt(0, false);  // the 28th finds 27 kept, more than 2 x 2 + 20
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_EQ(reused(0x40, 1, 30), 27);
    buffer.RemoveAll(false);
    EXPECT_EQ(reused(0x4, 1, 1), 0);
    EXPECT_EQ(reused(0x40, 9, 1), 0);
    EXPECT_EQ(reused(0x40, 2, 12), 10);
    buffer.RemoveAll(true);
    EXPECT_EQ(reused(0x40, 2, 1), 0);
    EXPECT_EQ(buffer.NewBlock(0x40, 0x80000000u), nullptr);
}

}  // namespace
