// TCProcessParameters: the text, and the value texts that edits write into it.
#include <cstring>

#include "corekit80/archive/TCProcessParametersImpl.h"

using Impl = TCProcessParameters::TCProcessParamsImpl;

// Bytes are compared as the parser compares them, whatever characters they belong to.
TCString Impl::QuotedIfNeeded(const char* value) const
{
    const size_t n = value ? std::strlen(value) : 0;
    bool quote = false;
    for (const TCString& d : delimiters)
        quote = quote || (n && memmem(value, n, d, size_t(d.GetLength())));
    if (!quote)
        return TCString(value);
    TCString out("\"");
    for (size_t i = 0; i < n; ++i) {
        if (value[i] == '"')
            out += '\\';
        out += value[i];
    }
    out += '"';
    return out;
}

const char* TCProcessParameters::BuildParamString() const { return m_impl->text; }

bool TCProcessParameters::SetParamValInt(int i, int value)
{
    if (!m_impl->ValidIndex(i))
        return false;
    m_impl->SetValue(i, TCString::FormatS("%d", value));
    return true;
}

bool TCProcessParameters::SetParamValDbl(int i, double value, StringFormat format, int precision)
{
    if (!m_impl->ValidIndex(i))
        return false;
    char buffer[1024];
    ftoa(value, buffer, format, m_impl->decimalComma, nullptr, 0, precision);
    m_impl->SetValue(i, buffer);
    return true;
}

bool TCProcessParameters::SetParamValStr(int i, const char* value)
{
    if (!m_impl->ValidIndex(i))
        return false;
    m_impl->SetValue(i, m_impl->QuotedIfNeeded(value));
    return true;
}
