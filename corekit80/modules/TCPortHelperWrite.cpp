// Typed writes at the outputs, with the type information each block carries.
#include <climits>
#include <cmath>
#include <utility>

#include "corekit80/foundation/TCSystemTime.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/modules/TCPortHelperImpl.h"

namespace {

using Impl = TCPortHelper::TCPortHelperImpl;

// The status a block gets when it follows one of status prev: a packet goes on after its
// start and a new one opens after its stop.
TCBLOCKSTATUS NextStatus(int prev)
{
    switch (prev) {
    case TCBS_INVALID:
        return TCBS_COMPLETE;
    case TCBS_START:
        return TCBS_BUSY;
    case TCBS_STOP:
        return TCBS_START;
    default:
        return TCBLOCKSTATUS(prev);
    }
}

// What the stream accepts: every field in its range, the range in order.
void MakeValid(TCTypeInfo& ti)
{
    if (ti.State < TCBS_START || ti.State > TCBS_COMPLETE)
        ti.State = TCBS_COMPLETE;
    if (!std::isfinite(ti.Timestamp) || !(ti.Timestamp > 0))
        ti.Timestamp = TCSystemTime();
    if (!std::isfinite(ti.Samplerate) || !(ti.Samplerate > 0))
        ti.Samplerate = 1.0;
    if (!std::isfinite(ti.Min))
        ti.Min = -1.7976931348623157e308;
    if (!std::isfinite(ti.Max))
        ti.Max = 1.7976931348623157e308;
    if (ti.Min > ti.Max)
        std::swap(ti.Min, ti.Max);
    if (!std::isfinite(ti.Unit.factor) || !(ti.Unit.factor > 0))
        ti.Unit.factor = 1.0;
}

}  // namespace

static int Send(TCPortHelper& h, Impl& d, unsigned output);

// The type information the next block of output carries, handed to its stream: 0, or the
// stream's code (-4 the first time, -18 after type information went out on this port).
static int PrepareTypeInfo(TCPortHelper& h, Impl& d, unsigned output)
{
    Impl::PORT& p = d.outputs[int(output)];
    if (!(d.CodeOf(&p) & TCPortHelper::DT_TYPEINFO))
        return 0;
    TCTypeInfo& ti = p.pendingTI;
    const uint8_t autoSet = p.tiAuto;
    if (const Impl::PORT* in = p.followed >= 0 ? d.Port(PT_INPUT, unsigned(p.followed)) : nullptr) {
        if (!(d.CodeOf(in) & TCPortHelper::DT_TYPEINFO))
            return Send(h, d, output);
        const TCTypeInfo& from = in->lastTI;
        const uint8_t copy = uint8_t(~(autoSet | p.tiSet));
        if (copy & Impl::TI_TIMESTAMP)
            ti.Timestamp = from.Timestamp;
        if (copy & Impl::TI_STATUS)
            ti.State = from.State;
        if (copy & Impl::TI_NAME)
            ti.Name = from.Name;
        if (copy & Impl::TI_RANGE) {
            ti.Min = from.Min;
            ti.Max = from.Max;
        }
        if (copy & Impl::TI_SAMPLERATE)
            ti.Samplerate = from.Samplerate;
        if (copy & Impl::TI_UNIT)
            ti.Unit = from.Unit;
    }
    if (autoSet & Impl::TI_TIMESTAMP) {
        if (!(p.tiSet & Impl::TI_TIMESTAMP))
            ti.Timestamp = h.SyncTime();
        p.tiSet &= uint8_t(~Impl::TI_TIMESTAMP);
    }
    if ((autoSet & Impl::TI_STATUS) && !(p.tiSet & Impl::TI_STATUS))
        ti.State = NextStatus(p.lastStatus);
    p.tiSet &= uint8_t(~Impl::TI_STATUS);
    if ((autoSet & Impl::TI_NAME) && !(p.tiSet & Impl::TI_NAME))
        ti.Name = static_cast<const char*>(p.name);
    return Send(h, d, output);
}

// The pending type information made valid and handed to the output's stream.
static int Send(TCPortHelper& h, Impl& d, unsigned output)
{
    Impl::PORT& p = d.outputs[int(output)];
    TCTypeInfo& ti = p.pendingTI;
    MakeValid(ti);
    int r = p.stream->SetTI(&ti, false);
    if (r == -4) {
        p.failedFan = p.stream->GetErrFan();
        return h.SetErrMsg(p.typeInfoWritten ? -18 : -4, PT_OUTPUT, output, p.failedFan);
    }
    if (r < 0)
        return h.SetErrMsg(r, PT_OUTPUT, output, -1);
    p.typeInfoWritten = true;
    p.lastStatus = ti.State;
    return 0;
}

// The one path of every typed write: checks, the single-value rule, the type information,
// the stream call and the error record. write(stream, first, n) answers as the stream's
// simple writes.
template <class T, class F>
static int WriteCounted(TCPortHelper& h, Impl& d, unsigned output, unsigned long family, unsigned n,
                        const T* values, F write)
{
    Impl::PORT* p = d.WritePort(output, family);
    if (!p || n == 0 || !values)
        return 0;
    if (n > unsigned(INT_MAX))
        return h.SetErrMsg(-14, PT_OUTPUT, output, -1);
    if (d.CodeOf(p) & TCPortHelper::DT_SINGLE_VALUE) {
        values += n - 1;
        n = 1;
    }
    int r = PrepareTypeInfo(h, d, output);
    if (r < 0)
        return r;
    r = write(*p->stream, values, int(n));
    if (r < 0) {
        p->failedFan = p->stream->GetErrFan();
        return h.SetErrMsg(r, PT_OUTPUT, output, p->failedFan);
    }
    p->failedFan = -1;
    return r == 0 ? 1 : 0;
}

int TCPortHelper::WriteIntData(unsigned output, unsigned n, const int* values)
{
    return WriteCounted(*this, *m_pImpl, output, DT_SWORD_FAMILY, n, values,
                        [](TCIOStream& s, const int* v, int k) { return s.WriteIntVec(v, k); });
}

int TCPortHelper::WriteDblData(unsigned output, unsigned n, const double* values)
{
    return WriteCounted(*this, *m_pImpl, output, DT_DOUBLE_FAMILY, n, values,
                        [](TCIOStream& s, const double* v, int k) { return s.WriteDblVec(v, k); });
}

int TCPortHelper::WriteStringData(unsigned output, unsigned n, const TCString* texts)
{
    return WriteCounted(*this, *m_pImpl, output, DT_STRING_FAMILY, n, texts,
                        [](TCIOStream& s, const TCString* v, int k) { return s.WriteStrVec(v, k); });
}

int TCPortHelper::WriteCStringData(unsigned output, unsigned n, const CString* texts)
{
    return WriteCounted(*this, *m_pImpl, output, DT_STRING_FAMILY, n, texts,
                        [](TCIOStream& s, const CString* v, int k) { return s.WriteStrVec(v, k); });
}

int TCPortHelper::WriteIntVal(unsigned output, int value) { return WriteIntData(output, 1, &value); }
int TCPortHelper::WriteDblVal(unsigned output, const double& value) { return WriteDblData(output, 1, &value); }
int TCPortHelper::WriteStringVal(unsigned output, const TCString& text) { return WriteStringData(output, 1, &text); }
int TCPortHelper::WriteCStringVal(unsigned output, const CString& text) { return WriteCStringData(output, 1, &text); }

int TCPortHelper::WriteIntArray(unsigned output, const CArray<int, int>& values)
{
    return WriteIntData(output, unsigned(values.GetSize()), values.GetData());
}

int TCPortHelper::WriteDblArray(unsigned output, const CArray<double, double>& values)
{
    return WriteDblData(output, unsigned(values.GetSize()), values.GetData());
}

int TCPortHelper::WriteStringArray(unsigned output, const CArray<TCString>& texts)
{
    return WriteStringData(output, unsigned(texts.GetSize()), texts.GetData());
}

int TCPortHelper::WriteCStringArray(unsigned output, const CArray<CString>& texts)
{
    return WriteCStringData(output, unsigned(texts.GetSize()), texts.GetData());
}

// A matrix by reference, refused while the line still holds a block unless the output
// allows several.
template <class T, class F>
static int WriteMatrix(TCPortHelper& h, Impl& d, unsigned output, unsigned long family, unsigned rows,
                       unsigned cols, const T* data, F write)
{
    Impl::PORT* p = d.WritePort(output, family);
    if (!p || !data || rows == 0 || cols == 0)
        return 0;
    if (rows > unsigned(INT_MAX) || cols > unsigned(INT_MAX) / rows)
        return h.SetErrMsg(-14, PT_OUTPUT, output, -1);
    int fan = -1;
    if (!p->multipleMatrices && p->stream->GetBlockCnt(&fan) > 0) {
        p->failedFan = fan;
        return h.SetErrMsg(-19, PT_OUTPUT, output, fan);
    }
    int r = PrepareTypeInfo(h, d, output);
    if (r < 0)
        return r;
    r = write(*p->stream, data, int(rows), int(cols));
    if (r < 0) {
        p->failedFan = p->stream->GetErrFan();
        return h.SetErrMsg(r, PT_OUTPUT, output, p->failedFan);
    }
    p->failedFan = -1;
    return r == 0 ? 1 : 0;
}

int TCPortHelper::WriteIntMatrix(unsigned output, unsigned rows, unsigned cols, const int* data)
{
    return WriteMatrix(*this, *m_pImpl, output, DT_SWORD_MATRIX_ELEMENT, rows, cols, data,
                       [](TCIOStream& s, const int* v, int r, int c) { return s.WriteIntMat(v, r, c); });
}

int TCPortHelper::WriteDblMatrix(unsigned output, unsigned rows, unsigned cols, const double* data)
{
    return WriteMatrix(*this, *m_pImpl, output, DT_DOUBLE_MATRIX_ELEMENT, rows, cols, data,
                       [](TCIOStream& s, const double* v, int r, int c) { return s.WriteDblMat(v, r, c); });
}

int TCPortHelper::FailedFan(unsigned output) const
{
    const TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output);
    return p ? p->failedFan : -1;
}

void TCPortHelper::UseAutoTypeInfo(unsigned output, bool timestamp, bool status, bool signalName, bool range,
                                   bool unit, bool sampleRate)
{
    if (TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output))
        p->tiAuto = uint8_t((timestamp ? TCPortHelperImpl::TI_TIMESTAMP : 0) |
                            (status ? TCPortHelperImpl::TI_STATUS : 0) | (signalName ? TCPortHelperImpl::TI_NAME : 0) |
                            (range ? TCPortHelperImpl::TI_RANGE : 0) | (unit ? TCPortHelperImpl::TI_UNIT : 0) |
                            (sampleRate ? TCPortHelperImpl::TI_SAMPLERATE : 0));
}

void TCPortHelper::UseTypeInfoFromInput(unsigned output, unsigned input) { UseTypeInfoFromInputs(output, &input, 1); }

void TCPortHelper::UseTypeInfoFromInputs(unsigned output, const unsigned* inputs, unsigned n)
{
    TCPortHelperImpl::PORT* p = m_pImpl->Port(PT_OUTPUT, output);
    if (!p || (n && !inputs) || n > 0xFFFF)
        return;
    p->follows.SetSize(int(n));
    for (unsigned k = 0; k < n; ++k)
        p->follows[int(k)] = inputs[k];
    p->followed = -1;
    p->tiAuto = 0;
}

int TCPortHelper::WriteTypeInfo(unsigned output)
{
    return m_pImpl->WritePort(output, DT_TYPEINFO) ? PrepareTypeInfo(*this, *m_pImpl, output) : 0;
}

// The address and the count go out as they are: the block refers to the writer's memory.
int TCPortHelper::WriteValAndPtr(unsigned output, unsigned n, const void* ptrs)
{
    return WriteCounted(*this, *m_pImpl, output, TCPortHelperImpl::POINTER_FAMILY, n, static_cast<const char*>(ptrs),
                        [](TCIOStream& s, const char* p, int k) { return s.WritePtr(p, k); });
}
