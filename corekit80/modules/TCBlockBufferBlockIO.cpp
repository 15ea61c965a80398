// TCBlockBuffer::TCBlock: one port block read into the block and written out again.
#include <algorithm>

#include "corekit80/modules/TCBlockBuffer.h"
#include "corekit80/modules/TCPortHelper.h"
#include "corekit80/types/TCString.h"

using TCBlock = TCBlockBuffer::TCBlock;
using H = TCPortHelper;

namespace {

constexpr int kSecondMatrix = -19;

}  // namespace

int TCBlock::ReadBlock(TCPortHelper* ph, unsigned input)
{
    unsigned n = 0;
    if (!ph || !ph->DoesDataTypeMatch(PT_INPUT, input, MakeCompatibleDatatype(m_dataType), H::CHECK_ANY_BIT) ||
        !ph->DataAvail(input, nullptr, nullptr, &n, nullptr))
        return 0;
    if (m_dataType == 0)
        return ReadRecord(ph, input);
    // When the array cannot grow the block takes what the old one holds.
    if (!SetSize(n))
        n = unsigned(m_alloc);
    int r = 0;
    switch (m_dataType) {
    case H::DT_SWORD:
    case H::DT_SWORD_1:
    case H::DT_SWORD_ARRAY: r = ph->ReadIntData(input, n, static_cast<int*>(m_data)); break;
    case H::DT_SWORD_MATRIX_ELEMENT:
    case H::DT_DOUBLE_MATRIX_ELEMENT: r = ReadMatrix(ph, input, n); break;
    case H::DT_DOUBLE:
    case H::DT_DOUBLE_1:
    case H::DT_DOUBLE_ARRAY: r = ph->ReadDblData(input, n, static_cast<double*>(m_data)); break;
    case H::DT_STRING:
    case H::DT_STRING_ARRAY: r = ph->ReadStringData(input, n, static_cast<TCString*>(m_data)); break;
    default: n = 0; break;
    }
    m_size = r > 0 ? int(n) : 0;
    // A port without type information leaves none from the block's earlier use.
    if (ph->DataType(PT_INPUT, input, nullptr) & H::DT_TYPEINFO)
        ph->GetTypeInfo(input, &m_ti);
    else
        m_ti.Init();
    return r;
}

// The matrix is handed out by pointer: its values are copied while they are valid; n
// becomes the number copied.
int TCBlock::ReadMatrix(TCPortHelper* ph, unsigned input, unsigned& n)
{
    unsigned rows = 0, cols = 0;
    int* ints = nullptr;
    double* doubles = nullptr;
    const bool isInt = m_dataType == H::DT_SWORD_MATRIX_ELEMENT;
    const int r = isInt ? ph->ReadIntMatrix(input, rows, cols, &ints) : ph->ReadDblMatrix(input, rows, cols, &doubles);
    const unsigned long long values = r > 0 ? (unsigned long long)rows * cols : 0;
    n = values <= unsigned(m_alloc) || (values < ~0u && SetSize(unsigned(values))) ? unsigned(values) : 0;
    CopyData(m_data, isInt ? static_cast<const void*>(ints) : doubles, n, m_dataType);
    m_columns = n ? cols : 0;
    return r;
}

// The record is taken off the stream only once the array holds room for it.
int TCBlock::ReadRecord(TCPortHelper* ph, unsigned input)
{
    m_ti.Init();
    ph->PeekTypeInfo(input, &m_ti);
    const int bytes = ph->SerializeBlock(input, nullptr, true);
    if (bytes <= 0 || !SetSize(unsigned(bytes)))
        return 0;
    m_size = std::max(ph->SerializeBlock(input, static_cast<char*>(m_data), true), 0);
    return 0;
}

int TCBlock::WriteBlock(TCPortHelper* ph, unsigned output)
{
    const bool matrix = m_dataType == H::DT_SWORD_MATRIX_ELEMENT || m_dataType == H::DT_DOUBLE_MATRIX_ELEMENT;
    if (!ph || (matrix && m_columns == 0) ||
        !ph->DoesDataTypeMatch(PT_OUTPUT, output, MakeCompatibleDatatype(m_dataType), H::CHECK_ANY_BIT))
        return 0;
    ph->SetTypeInfo(output, m_ti);
    switch (m_dataType) {
    case 0: return ph->DeSerializeBlock(output, TCString(static_cast<const char*>(m_data), m_size));
    case H::DT_SWORD:
    case H::DT_SWORD_1:
    case H::DT_SWORD_ARRAY: return ph->WriteIntData(output, unsigned(m_size), static_cast<const int*>(m_data));
    case H::DT_DOUBLE:
    case H::DT_DOUBLE_1:
    case H::DT_DOUBLE_ARRAY: return ph->WriteDblData(output, unsigned(m_size), static_cast<const double*>(m_data));
    case H::DT_STRING:
    case H::DT_STRING_ARRAY:
        return ph->WriteStringData(output, unsigned(m_size), static_cast<const TCString*>(m_data));
    default: return matrix ? WriteMatrix(ph, output) : 0;
    }
}

// Through the output's internal buffer: the block's own array may change before the
// readers take the matrix, which goes out by reference. While a line still holds a block,
// that may be the buffer's last matrix: refilling the buffer would change it, so the write
// is refused as the port helper refuses a second matrix.
int TCBlock::WriteMatrix(TCPortHelper* ph, unsigned output)
{
    if (ph->BlocksOnStream(PT_OUTPUT, output) > 0)
        return ph->SetErrMsg(kSecondMatrix, PT_OUTPUT, output, -1);
    const unsigned rows = unsigned(m_size) / m_columns;
    void* to = nullptr;
    if (m_dataType == H::DT_SWORD_MATRIX_ELEMENT)
        to = ph->AllocIntMatrix(output, rows, m_columns);
    else
        to = ph->AllocDblMatrix(output, rows, m_columns);
    if (!to)
        return 0;
    CopyData(to, m_data, rows * m_columns, m_dataType);
    return ph->WriteInternalData(output);
}
