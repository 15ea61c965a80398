// Reads and writes whose value kind is chosen by the port's type.
#include "corekit80/modules/TCPortHelper.h"

int TCPortHelper::ReadPolymorphicData(unsigned input, unsigned& n, void* buf, unsigned* elemSize)
{
    if (elemSize)
        *elemSize = unsigned(ElemSize(PT_INPUT, input));
    const unsigned long code = DataType(PT_INPUT, input, nullptr);
    if (code & DT_SWORD_FAMILY)
        return ReadIntData(input, n, static_cast<int*>(buf));
    if (code & DT_DOUBLE_FAMILY)
        return ReadDblData(input, n, static_cast<double*>(buf));
    if (code & DT_STRING_FAMILY)
        return ReadStringData(input, n, static_cast<TCString*>(buf));
    return 0;
}

int TCPortHelper::WritePolymorphicData(unsigned output, unsigned n, const void* data, unsigned* cols)
{
    const unsigned long code = DataType(PT_OUTPUT, output, nullptr);
    if (code & (DT_SWORD_MATRIX_ELEMENT | DT_DOUBLE_MATRIX_ELEMENT)) {
        if (!cols || *cols == 0)
            return 0;
        if (code & DT_SWORD_MATRIX_ELEMENT)
            return WriteIntMatrix(output, n / *cols, *cols, static_cast<const int*>(data));
        return WriteDblMatrix(output, n / *cols, *cols, static_cast<const double*>(data));
    }
    if (code & DT_DOUBLE_FAMILY)
        return WriteDblData(output, n, static_cast<const double*>(data));
    if (code & DT_SWORD_FAMILY)
        return WriteIntData(output, n, static_cast<const int*>(data));
    if (code & DT_STRING_FAMILY)
        return WriteStringData(output, n, static_cast<const TCString*>(data));
    return 0;
}
