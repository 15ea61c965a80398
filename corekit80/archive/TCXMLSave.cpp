#include "corekit80/archive/TCXMLImpl.h"

#include <libxml/xmlsave.h>

#include "corekit80/platform/CFile.h"

namespace {

// libxml2's output callback onto a file; the first failure is kept and ends the writing.
struct FileSink {
    CFile* file;
    TCString failure;
};

int WriteToFile(void* context, const char* buffer, int length)
{
    FileSink* sink = static_cast<FileSink*>(context);
    if (!sink->failure.IsEmpty())
        return -1;
    try {
        sink->file->Write(buffer, unsigned(length));
        return length;
    } catch (const CFileException& e) {
        sink->failure = TCXMLFileError(e);
        return -1;
    }
}

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

} // namespace

bool TCXML::Save(const char* path) const
{
    m_error.Empty();
    if (!m_doc || !m_doc->Doc()) {
        m_error = TCXMLFormatWith(tcxmlInvalidPointer, tcxmlSave);
        return false;
    }
    CFile file;
    CFileException e;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive, &e)) {
        m_error = TCXMLFormat(tcxmlOpenFile, path ? path : "", (const char*)TCXMLFileError(e));
        return false;
    }
    if (!SaveFormatedDOMDocument(file)) {
        file.Abort();
        return false;
    }
    try {
        file.Close();
    } catch (const CFileException& failure) {
        m_error = TCXMLFormatWith(TCXMLFileError(failure), tcxmlSave);
        return false;
    }
    return true;
}

// The declaration is written here, since libxml2 names standalone only when the
// document says so; the rest is libxml2's indented form.
bool TCXML::SaveFormatedDOMDocument(CFile& stream) const
{
    FileSink sink{&stream, TCString()};
    TCXMLErrorScope scope;
    bool ok = WriteToFile(&sink, kDeclaration, int(sizeof kDeclaration - 1)) > 0;
    xmlSaveCtxtPtr saver =
        ok ? xmlSaveToIO(WriteToFile, nullptr, &sink, "UTF-8", XML_SAVE_FORMAT | XML_SAVE_NO_DECL) : nullptr;
    if (saver) {
        ok = xmlSaveDoc(saver, m_doc->Doc()) >= 0;
        ok = xmlSaveClose(saver) >= 0 && ok;
    }
    ok = ok && saver && sink.failure.IsEmpty();
    if (!ok)
        m_error = TCXMLFormatWith(!sink.failure.IsEmpty() ? (const char*)sink.failure
                                                          : (const char*)scope.Description("Out of memory"),
                                  tcxmlSave);
    return ok;
}
