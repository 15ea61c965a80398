#pragma once

// FileSink, the base of the sample modules that write the signal at their one input to a
// file: the input port, the file written under a temporary name and renamed at Done (a run
// without values leaves no file), and the notice telling the host where it went.

#include <corekit80/streams/TCTypeInfo.h>
#include <corekit80/types/TCArray.h>
#include <corekit80/types/TCString.h>

#include "BlockTime.h"
#include "PendingFile.h"
#include "SampleModule.h"

class FileSink : public SampleModule {
public:
    int Init() override;
    int Fetch() override;
    int Done() override;

protected:
    // countName names what Count counts in the notice ("rows", "values").
    FileSink(int instance, const char* countName);

    // The file the settings name.
    virtual const TCString& FileName() const = 0;
    // Why the other settings do not allow a run, or null.
    virtual const char* CheckSettings() const = 0;
    // Forgets the last run.
    virtual void Restart() = 0;
    // Takes the block in m_values, described by m_in; a failed write returns Fail's answer.
    virtual int Take() = 0;
    // What has been taken in; none leaves no file.
    virtual long long Count() const = 0;
    // Writes what is left before the file gets its name; false when that failed.
    virtual bool Finish() { return true; }

    PendingFile m_file;
    TCArray<double, double> m_values;
    TCTypeInfo m_in;
    BlockTime m_time;

private:
    const char* m_countName;
};
