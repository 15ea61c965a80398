// Segment I/O: the simple writes and reads, the segment write sequence, named and indexed
// reads of the act block, and peeks at queued blocks.
#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "corekit80/streams/TCIOStream.h"
#include "corekit80/types/TCMbcsImpl.h"

namespace {

// Copies the last wanted elements (the newest samples), or all when there are fewer.
// Numbers are moved by the C library above a few elements: its wide moves beat the loop.
template <class T>
int CopyNewest(T* to, const T* from, int count, int wanted)
{
    int first = count > wanted ? count - wanted : 0;
    if constexpr (std::is_trivially_copyable_v<T>) {
        if (count - first > 4) {
            std::memmove(to, from + first, sizeof(T) * static_cast<size_t>(count - first));
            return count - first;
        }
    }
    for (int i = first; i < count; ++i)
        to[i - first] = from[i];
    return count - first;
}

// The text up to its first zero byte, as the framework string's forms read it.
void AssignText(CString& to, const TCString& from) { to = static_cast<const char*>(from); }

} // namespace

TCIOStream::DataSegment* TCIOStream::AddSegment(const char* name, int type, int dimCount,
                                                const int* dims, const void* data, bool copy,
                                                bool append)
{
    Block* b = WriteBlock();
    if (!b)
        return nullptr;
    try {
        DataSegment* seg = b->SegmentForWrite(name, append);
        if (!seg)
            return nullptr;
        bool ok = append && seg->m_bValid
                      ? seg->AppendData(DATATYPE(type), dimCount, dims, data)
                      : seg->SetData(DATATYPE(type), dimCount, dims, data, copy);
        return ok ? seg : nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int TCIOStream::WriteIntVec(const int* v, int n) { return WriteSimple(INT, 1, &n, v, true); }
int TCIOStream::WriteDblVec(const double* v, int n) { return WriteSimple(DOUBLE, 1, &n, v, true); }
int TCIOStream::WriteStrVec(const TCString* v, int n) { return WriteSimple(STRING, 1, &n, v, true); }

int TCIOStream::WriteStrVec(const CString* v, int n)
{
    TCArray<TCString> texts;
    try {
        CStringToTCString(texts, v, n);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return WriteStrVec(texts.GetData(), n);
}

int TCIOStream::WriteIntMat(const int* v, int rows, int cols)
{
    const int dims[2] = {rows, cols};
    return WriteSimple(INT, 2, dims, v, false);
}

int TCIOStream::WriteDblMat(const double* v, int rows, int cols)
{
    const int dims[2] = {rows, cols};
    return WriteSimple(DOUBLE, 2, dims, v, false);
}

int TCIOStream::WritePtr(const void* p, int size) { return WriteSimple(POINTER, 1, &size, p, false); }

int TCIOStream::WriteSegment(const char* name, int v)
{
    const int one = 1;
    return AddSegment(name, INT, 1, &one, &v, true, false) ? 0 : -14;
}

int TCIOStream::WriteSegment(const char* name, const double& v)
{
    const int one = 1;
    return AddSegment(name, DOUBLE, 1, &one, &v, true, false) ? 0 : -14;
}

int TCIOStream::WriteSegment(const char* name, const TCString& v)
{
    const int one = 1;
    return AddSegment(name, STRING, 1, &one, &v, true, false) ? 0 : -14;
}

int TCIOStream::WriteSegment(const char* name, const CString& v)
{
    try {
        return WriteSegment(name, CString2BinTCString(v));
    } catch (const std::bad_alloc&) {
        return -14;
    }
}

int TCIOStream::WriteSegment(const char* name, const TCArray<Block*>& blocks)
{
    const int n = blocks.GetSize();
    return AddSegment(name, BLOCK, 1, &n, blocks.GetData(), true, false) ? 0 : -14;
}

TCIOStream::DataSegment* TCIOStream::ReadFirstSegment(int& result)
{
    result = TakeHead(true);
    return result == 1 ? m_pAct->ValidSegment(0) : nullptr;
}

int TCIOStream::ReadNumVec(DATATYPE type, void* buf, int* n)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (r < 1 || !buf || (n && *n == 0) || !seg || seg->m_type != type)
        return 0;
    int count = seg->ElementCount();
    int wanted = n ? *n : count;
    if (wanted < 0)
        return -14;
    int copied;
    try {
        if (type == INT)
            copied = CopyNewest(static_cast<int*>(buf), static_cast<const int*>(seg->m_pData), count, wanted);
        else if (type == DOUBLE)
            copied = CopyNewest(static_cast<double*>(buf), static_cast<const double*>(seg->m_pData), count, wanted);
        else
            copied = CopyNewest(static_cast<TCString*>(buf), static_cast<const TCString*>(seg->m_pData), count, wanted);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    if (n)
        *n = copied;
    return copied;
}

int TCIOStream::ReadIntVec(int* buf, int* n) { return ReadNumVec(INT, buf, n); }
int TCIOStream::ReadDblVec(double* buf, int* n) { return ReadNumVec(DOUBLE, buf, n); }
int TCIOStream::ReadStrVec(TCString* buf, int* n) { return ReadNumVec(STRING, buf, n); }

int TCIOStream::ReadStrVec(CString* buf, int* n)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (r < 1 || !buf || (n && *n == 0) || !seg || seg->m_type != STRING)
        return 0;
    int count = seg->ElementCount();
    int wanted = n ? *n : count;
    if (wanted < 0)
        return -14;
    const TCString* from = static_cast<const TCString*>(seg->m_pData);
    int first = count > wanted ? count - wanted : 0;
    try {
        for (int i = first; i < count; ++i)
            buf[i - first] = TCString2BinCString(from[i]);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    if (n)
        *n = count - first;
    return count - first;
}

int TCIOStream::ReadStr(TCString& s)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (!seg || seg->m_type != STRING || seg->ElementCount() < 1)
        return 0;
    try {
        s = static_cast<const TCString*>(seg->m_pData)[seg->ElementCount() - 1];
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return 1;
}

int TCIOStream::ReadStr(CString& s)
{
    TCString text;
    int r = ReadStr(text);
    if (r == 1) {
        try {
            AssignText(s, text);
        } catch (const std::bad_alloc&) {
            return -14;
        }
    }
    return r;
}

int TCIOStream::ReadIntMat(int** data, int& rows, int& cols)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (!data || !seg || seg->m_type != INT)
        return 0;
    *data = static_cast<int*>(seg->m_pData);
    seg->Shape(&rows, &cols);
    return seg->ElementCount();
}

int TCIOStream::ReadDblMat(double** data, int& rows, int& cols)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (!data || !seg || seg->m_type != DOUBLE)
        return 0;
    *data = static_cast<double*>(seg->m_pData);
    seg->Shape(&rows, &cols);
    return seg->ElementCount();
}

int TCIOStream::ReadPtr(void** p, int* size)
{
    int r;
    DataSegment* seg = ReadFirstSegment(r);
    if (!p || !seg || seg->m_type != POINTER)
        return 0;
    *p = seg->m_pData;
    if (size)
        *size = seg->ElementCount();
    return 1;
}

template <class T>
int TCIOStream::ReadScalar(DataSegment* seg, DATATYPE type, T& v) const
{
    if (!seg || seg->ElementCount() < 1)
        return 0;
    if (seg->m_type != type)
        return -2;
    const T& last = static_cast<const T*>(seg->m_pData)[seg->ElementCount() - 1];
    try {
        v = last;
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return 1;
}

int TCIOStream::ReadSegment(const char* name, int& v)
{
    return ReadScalar(m_pAct ? m_pAct->FindSegment(name, true) : nullptr, INT, v);
}

int TCIOStream::ReadSegment(const char* name, double& v)
{
    return ReadScalar(m_pAct ? m_pAct->FindSegment(name, true) : nullptr, DOUBLE, v);
}

int TCIOStream::ReadSegment(const char* name, TCString& v)
{
    return ReadScalar(m_pAct ? m_pAct->FindSegment(name, true) : nullptr, STRING, v);
}

int TCIOStream::ReadSegment(const char* name, CString& v)
{
    TCString text;
    int r = ReadSegment(name, text);
    if (r == 1)
        AssignText(v, text);
    return r;
}

int TCIOStream::ReadSegment(int index, int& v)
{
    return ReadScalar(m_pAct ? m_pAct->ValidSegment(index) : nullptr, INT, v);
}

int TCIOStream::ReadSegment(int index, double& v)
{
    return ReadScalar(m_pAct ? m_pAct->ValidSegment(index) : nullptr, DOUBLE, v);
}

int TCIOStream::ReadSegment(int index, TCString& v)
{
    return ReadScalar(m_pAct ? m_pAct->ValidSegment(index) : nullptr, STRING, v);
}

int TCIOStream::ReadSegment(int index, CString& v)
{
    TCString text;
    int r = ReadSegment(index, text);
    if (r == 1)
        AssignText(v, text);
    return r;
}

int TCIOStream::ReadSegment(int index, TCArray<Block*>& blocks)
{
    const DataSegment* seg = m_pAct ? m_pAct->ValidSegment(index) : nullptr;
    int count = seg ? seg->ElementCount() : 0;
    try {
        blocks.SetSize(count);
    } catch (const std::bad_alloc&) {
        return -14;
    }
    if (count == 0)
        return 0;
    if (seg->m_type != BLOCK)
        return -2;
    std::memcpy(blocks.GetData(), seg->m_pData, static_cast<size_t>(count) * sizeof(Block*));
    return count;
}

int TCIOStream::ReadSegment(const char* name, TCArray<Block*>& blocks)
{
    const DataSegment* seg = m_pAct ? m_pAct->FindSegment(name, true) : nullptr;
    if (!seg || seg->m_type != BLOCK)
        return 0;
    int count = seg->ElementCount();
    Block* const* from = static_cast<Block* const*>(seg->m_pData);
    try {
        for (int i = count; i < blocks.GetSize(); ++i)
            delete blocks.GetData()[i];
        int had = std::min(blocks.GetSize(), count);
        blocks.SetSize(count);
        for (int i = 0; i < count; ++i) {
            Block*& to = blocks.GetData()[i];
            if (i >= had || !to)
                to = new Block;
            if (!from[i])
                to->Reset(true);
            else if (!to->CopyFrom(*from[i]))
                return -14;
        }
    } catch (const std::bad_alloc&) {
        return -14;
    }
    return count;
}

const TCString& TCIOStream::SegmentName(int index) const
{
    static const TCString none;
    const DataSegment* seg = m_pAct ? m_pAct->ValidSegment(index) : nullptr;
    return seg ? seg->m_name : none;
}

TCIOStream::DATATYPE TCIOStream::SegmentType(int index)
{
    const DataSegment* seg = m_pAct ? m_pAct->ValidSegment(index) : nullptr;
    return seg ? seg->m_type : UNDEF;
}

int TCIOStream::AvailableSegments(TCArray<TCString>* names) const
{
    int n = SegmentCnt();
    if (names) {
        try {
            names->SetSize(n);
            for (int i = 0; i < n; ++i)
                names->GetData()[i] = m_pAct->ValidSegment(i)->m_name;
        } catch (const std::bad_alloc&) {
            return -14;
        }
    }
    return n;
}

const TCIOStream::DataSegment* TCIOStream::PeekSegmentSlow(int block, int segment, DATATYPE type) const
{
    const Block* b = block >= 0 ? QueuedBlock(block) : nullptr;
    const DataSegment* seg = b ? b->ValidSegment(segment) : nullptr;
    return seg && (type == UNDEF || seg->m_type == type) ? seg : nullptr;
}

int TCIOStream::GetBlockLen(int block, int segment) const
{
    const DataSegment* seg = PeekSegment(block, segment, UNDEF);
    return seg ? seg->ElementCount() : 0;
}

bool TCIOStream::VerifyType(DATATYPE type, int dimCount)
{
    for (int f = 0, n = m_fansOut.GetSize(); f < n; ++f) {
        const Fan* fan = m_fansOut.GetData()[f]->GetFanIn();
        if (!fan)
            continue; // torn down
        for (POSITION pos = fan->m_queue.GetHeadPosition(); pos;) {
            for (const std::unique_ptr<DataSegment>& seg : fan->m_queue.GetNext(pos)->m_segments) {
                if (seg->m_type != type || seg->m_nDims != dimCount) {
                    SetErrFan(f);
                    return false;
                }
            }
        }
    }
    return true;
}

const char* TCIOStream::DataTypeToString(DATATYPE t)
{
    static const char* const names[] = {"UNDEF", "INT", "DOUBLE", "STRING", "POINTER", "BLOCK"};
    return t >= UNDEF && t <= BLOCK ? names[t] : "UNKNOWN";
}

TCIOStream::DATATYPE TCIOStream::StringToDataType(const char* s)
{
    for (int t = UNDEF; t <= BLOCK && s; ++t)
        if (TCMbsICmp(s, DataTypeToString(DATATYPE(t))) == 0)
            return DATATYPE(t);
    return DATATYPE(-1);
}

void TCIOStream::CStringToTCString(TCArray<TCString>& out, const CString* in, int n)
{
    out.SetSize(n > 0 ? n : 0);
    for (int i = 0; i < n && in; ++i)
        out.GetData()[i] = CString2BinTCString(in[i]);
}
