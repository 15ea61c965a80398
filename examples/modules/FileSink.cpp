// FileSink: the input, the pending file and the notice of the file-writing samples.
#include "FileSink.h"

#include <corekit80/foundation/TCModuleMessage.h>

namespace {

constexpr unsigned kIn = 0;

}  // namespace

FileSink::FileSink(int instance, const char* countName) : SampleModule(instance), m_countName(countName)
{
    Ports().SetPort(PT_INPUT, kIn, "In", "DOUBLE[]", nullptr, true);
    Ports().SetObligatoryInput(kIn);
}

int FileSink::Init()
{
    if (FileName().IsEmpty())
        return Refuse("no file name is set");
    if (const char* why = CheckSettings())
        return Refuse(why);
    m_time.Reset();
    Restart();
    // Opened last, so that a module that may not run leaves no file behind.
    const int r = TCBaseModule::Init();
    if (r != 0)
        return r;
    return m_file.Open(FileName()) ? 0 : Refuse(m_file.Error());
}

int FileSink::Fetch()
{
    const int r = TCBaseModule::Fetch();
    if (r != 0)
        return r;
    TCPortHelper& h = Ports();
    if (h.BlocksOnStream(PT_INPUT, kIn) == 0)
        return 0;
    if (h.ReadDblArray(kIn, m_values) < 0)
        return Fail("a block could not be read");
    // After a failed write the rest of the run is taken in and dropped.
    if (!m_file.IsOpen())
        return 0;
    h.GetTypeInfo(kIn, &m_in);
    return Take();
}

int FileSink::Done()
{
    const int r = TCBaseModule::Done();
    if (!m_file.IsOpen())
        return r;
    if (Count() == 0) {
        m_file.Discard();
        return r;
    }
    if (!Finish() || !m_file.Commit())
        return Fail(m_file.Error());
    TCModuleMessage::Notice(GetModuleName(), "wrote %s (%lld %s)", m_file.Path(), Count(), m_countName);
    return r;
}
