// Every read family against every write family, in one table run by the module harness.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>

#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperProbe_test.h"
#include "corekit80/streams/TCIOStream.h"

namespace {

using namespace port_probe_test;
using H = TCPortHelper;

enum Writer { W_INT, W_INTS, W_DBL, W_DBLS, W_TEXT, W_TEXTS, W_INT_MAT, W_DBL_MAT, W_POLY, W_INTERNAL, W_PTR, W_MULTI,
              WRITERS };
enum Reader { R_INTS, R_INT_ARRAY, R_INT_LAST, R_DBLS, R_DBL_ARRAY, R_DBL_LAST, R_TEXTS, R_CTEXT, R_INT_MAT,
              R_DBL_MAT, R_POLY, R_INTERNAL, R_PTR, R_MULTI, READERS };

// The port type of each writer's output and of the input its line reaches.
const unsigned long kTypes[WRITERS] = {
    H::DT_SWORD,         H::DT_SWORD_ARRAY,  H::DT_DOUBLE,       H::DT_DOUBLE_ARRAY,
    H::DT_STRING,        H::DT_STRING_ARRAY, H::DT_SWORD_MATRIX, H::DT_DOUBLE_MATRIX,
    H::DT_DOUBLE_MATRIX, H::DT_SWORD_ARRAY,  H::DT_POINTER,      H::DT_MULTITYPE,
};

// Matrices and pointers travel by reference: the writer's memory outlives the reads.
const int kInts[] = {1, 2, 3, 4};
const double kDbls[] = {1.5, 2.5, 3.5, 4.5};
const char kTarget[] = "abc";

int Write(H& h, Writer w)
{
    const TCString texts[] = {TCString("a"), TCString("b"), TCString("c")};
    const CString ctexts[] = {CString("x"), CString("yz")};
    TCArray<int, int> ints;
    unsigned cols = 2;
    switch (w) {
    case W_INT:
        return h.WriteIntVal(0, 7);
    case W_INTS:
        ints.SetSize(3);
        ints[0] = 1, ints[1] = 2, ints[2] = 3;
        return h.WriteIntArray(0, ints);
    case W_DBL:
        return h.WriteDblVal(0, 0.5);
    case W_DBLS:
        return h.WriteDblData(0, 3, kDbls);
    case W_TEXT:
        return h.WriteCStringData(0, 2, ctexts);  // one text: the last
    case W_TEXTS:
        return h.WriteStringData(0, 3, texts);
    case W_INT_MAT:
        return h.WriteIntMatrix(0, 2, 2, kInts);
    case W_DBL_MAT:
        return h.WriteDblMatrix(0, 3, 1, kDbls);
    case W_POLY:
        return h.WritePolymorphicData(0, 4, kDbls, &cols);
    case W_INTERNAL: {
        int* buffer = h.AllocIntData(0, 2);
        buffer[0] = 8, buffer[1] = 9;
        return h.WriteInternalData(0);
    }
    case W_PTR:
        return h.WriteValAndPtr(0, 3, kTarget);
    default:
        return h.WriteMultitypeInt(0, 5, "n") == 1 && h.WriteMultitypeDbl(0, 2.5, "x") == 1 ? h.EndWriteMultitype(0)
                                                                                             : -100;
    }
}

template <class T>
std::string Join(const T* v, unsigned n)
{
    std::string s;
    for (unsigned i = 0; i < n; ++i) {
        char text[32];
        if constexpr (std::is_same_v<T, int>)
            std::snprintf(text, sizeof text, "%d", v[i]);
        else if constexpr (std::is_same_v<T, double>)
            std::snprintf(text, sizeof text, "%g", v[i]);
        else
            std::snprintf(text, sizeof text, "%s", static_cast<const char*>(v[i]));
        s += (i ? "," : "") + std::string(text);
    }
    return s;
}

// The read's result, and what it delivered when positive.
std::string Got(int r, const std::string& values)
{
    return r > 0 ? std::to_string(r) + ":" + values : std::to_string(r);
}

template <class T>
std::string Matrix(int r, unsigned rows, unsigned cols, const T* data)
{
    return Got(r, std::to_string(rows) + "x" + std::to_string(cols) + "/" + Join(data, rows * cols));
}

std::string Read(H& h, Reader k)
{
    unsigned n = 8, rows = 0, cols = 0, size = 0;
    int iv[8] = {}, i = 0;
    double dv[8] = {}, d = 0;
    TCString tv[8];
    CString text;
    TCArray<int, int> ia;
    TCArray<double, double> da;
    TCArray<TCString> ta;
    int* im = nullptr;
    double* dm = nullptr;
    void* ptr = nullptr;
    int r = 0;
    switch (k) {
    case R_INTS:
        r = h.ReadIntData(0, n, iv);
        return Got(r, Join(iv, n));
    case R_INT_ARRAY:
        r = h.ReadIntArray(0, ia);
        return Got(r, Join(ia.GetData(), unsigned(ia.GetSize())));
    case R_INT_LAST:
        r = h.ReadIntLastVal(0, i, false);
        return Got(r, std::to_string(i));
    case R_DBLS:
        r = h.ReadDblData(0, n, dv);
        return Got(r, Join(dv, n));
    case R_DBL_ARRAY:
        r = h.ReadDblArray(0, da);
        return Got(r, Join(da.GetData(), unsigned(da.GetSize())));
    case R_DBL_LAST:
        r = h.ReadDblLastVal(0, d, false);
        return Got(r, Join(&d, 1));
    case R_TEXTS:
        r = h.ReadStringArray(0, ta);
        return Got(r, Join(ta.GetData(), unsigned(ta.GetSize())));
    case R_CTEXT:
        r = h.ReadCString(0, text);
        return Got(r, static_cast<const char*>(text));
    case R_INT_MAT:
        r = h.ReadIntMatrix(0, rows, cols, &im);
        return Matrix(r, rows, cols, im);
    case R_DBL_MAT:
        r = h.ReadDblMatrix(0, rows, cols, &dm);
        return Matrix(r, rows, cols, dm);
    case R_POLY:
        if (h.ElemSize(PT_INPUT, 0) == 1) {
            r = h.ReadPolymorphicData(0, n, tv, &size);
            return Got(r, Join(tv, n));
        }
        r = h.ReadPolymorphicData(0, n, h.ElemSize(PT_INPUT, 0) == 8 ? static_cast<void*>(dv) : iv, &size);
        return Got(r, size == 8 ? Join(dv, n) : Join(iv, n));
    case R_INTERNAL:
        r = h.ReadInternalData(0);
        if (int* p = h.AccessIntMatrix(0, rows, cols))
            return Matrix(r, rows, cols, p);
        if (double* p = h.AccessDblMatrix(0, rows, cols))
            return Matrix(r, rows, cols, p);
        if (int* p = h.AccessIntData(0, n))
            return Got(r, "i" + Join(p, n));
        if (double* p = h.AccessDblData(0, n))
            return Got(r, "d" + Join(p, n));
        if (TCString* p = h.AccessStringData(0, n))
            return Got(r, "t" + Join(p, n));
        return Got(r, "");
    case R_PTR:
        r = h.ReadValAndPtr(0, n, &ptr);
        return Got(r, std::to_string(n) + (ptr == kTarget ? "=" : "!"));
    default:
        r = h.StartReadMultitype(0);
        if (r <= 0)
            return Got(r, "");
        r = h.ReadMultitypeInt(0, "n", i);
        return Got(r, std::to_string(i) + "/" + std::to_string(h.GetMultitypeType(0, 1)));
    }
}

// A cell: what the read gave (result, ':' and the values; matrices rows x cols '/' values;
// a pointer its count and '=' for the writer's own address), then ' w' when the block still
// waits and ' e' with the error record's code when one was set. Each writer writes one block
// to an output of its type; the harness's collector hands it to an input of the same type.
TEST(TCPortHelperFamilies, EveryReadFamilyAgainstEveryWriteFamily)
{
    const char* const expected[WRITERS][READERS] = {
        // ints, int array, int newest, dbls, dbl array, dbl newest, texts, ctext, int mat, dbl mat,
        // polymorphic, internal, pointer, MultiType
        /* int */ {"1:7", "1:7", "1:7", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "1:7", "1:i7", "0 w", "0 w"},
        /* ints */
        {"3:1,2,3", "3:1,2,3", "1:3", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "3:1,2,3", "3:i1,2,3", "0 w",
         "0 w"},
        /* dbl */ {"0 w", "0 w", "0 w", "1:0.5", "1:0.5", "1:0.5", "0 w", "0 w", "0 w", "0 w", "1:0.5", "1:d0.5", "0 w",
                   "0 w"},
        /* dbls */
        {"0 w", "0 w", "0 w", "3:1.5,2.5,3.5", "3:1.5,2.5,3.5", "1:3.5", "0 w", "0 w", "0 w", "0 w", "3:1.5,2.5,3.5",
         "3:d1.5,2.5,3.5", "0 w", "0 w"},
        /* text */ {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "1:yz", "1:yz", "0 w", "0 w", "1:yz", "1:tyz", "0 w", "0 w"},
        /* texts */
        {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "3:a,b,c", "1:c", "0 w", "0 w", "3:a,b,c", "3:ta,b,c", "0 w", "0 w"},
        /* int mat */
        {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "4:2x2/1,2,3,4", "0 w", "0 w", "4:2x2/1,2,3,4", "0 w",
         "0 w"},
        /* dbl mat */
        {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "3:3x1/1.5,2.5,3.5", "0 w",
         "3:3x1/1.5,2.5,3.5", "0 w", "0 w"},
        /* poly */
        {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "4:2x2/1.5,2.5,3.5,4.5", "0 w",
         "4:2x2/1.5,2.5,3.5,4.5", "0 w", "0 w"},
        /* internal */
        {"2:8,9", "2:8,9", "1:9", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "2:8,9", "2:i8,9", "0 w", "0 w"},
        /* pointer */ {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "1:3=", "0 w"},
        /* MultiType */
        {"0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "0 w", "1:5/2"},
    };
    for (int w = 0; w < WRITERS; ++w)
        for (int k = 0; k < READERS; ++k) {
            Probe module;
            module.Ports().SetPort(PT_INPUT, 0, "In", kTypes[w]);
            module.Ports().SetPort(PT_OUTPUT, 0, "Out", kTypes[w]);
            TCModuleHarness host(module);
            ASSERT_EQ(host.Start(), 0);
            EXPECT_EQ(Step(host, module, [&](H& h) { return Write(h, Writer(w)); }), 1) << w;
            TCIOStream& collected = *host.Collector(0);
            ASSERT_EQ(host.WriteWith(0, [&](TCIOStream& s) { return s.MoveBlock(collected, 0, nullptr, false); }), 1);
            std::string cell;
            Step(host, module, [&](H& h) {
                cell = Read(h, Reader(k));
                if (h.BlocksOnStream(PT_INPUT, 0) > 0)
                    cell += " w";
                if (h.GetErrMsg().code != 0)
                    cell += " e" + std::to_string(h.GetErrMsg().code);
                return 0;
            });
            EXPECT_EQ(cell, expected[w][k]) << "writer " << w << ", reader " << k;
            EXPECT_TRUE(host.HostRecords().IsEmpty());
        }
}

}  // namespace
