// XMLToStream on any text. Every block it dispatches must write as XML that reads back.
#include <cstdint>
#include <string>

#include "corekit80/archive/TCXML.h"
#include "corekit80/streams/TCIOStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string in(reinterpret_cast<const char*>(data), size);
    TCXML xml;
    if (!xml.Create(false) || !xml.LoadXML(in.c_str()))
        return 0;
    TCIOStream s, back;
    s.SetInputStream(3);
    s.AddOutputStream(&s);
    back.SetInputStream(3);
    back.AddOutputStream(&back);
    int n = s.XMLToStream(xml);
    if (n < -14)
        __builtin_trap();
    while (s.GetBlockCnt(nullptr) > 0) {
        TCXML out;
        // Texts that the document refuses (bytes that are not UTF-8) make the write fail.
        if (s.StreamToXML(out, false, 0) && back.XMLToStream(out) != 1)
            __builtin_trap();
        back.RemoveContents(true);
    }
    return 0;
}
