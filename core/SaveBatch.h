#pragma once

#include "core/KeyWrite.h"
#include "core/PendingWrites.h"
#include "core/RunTime.h"

#include <vector>

// The keys of one Save, in the order the pages give them, applied per profile
// file to one copy of that file with the accessor's own rules, and the file
// replaced once. Within a file a Save is then all of its keys or none; a file
// whose keys change nothing is not touched.
class SaveBatch {
public:
    explicit SaveBatch(const RunTime& rt)
        : m_rt(rt)
    {
    }

    void add(KeyWrites&& writes);

    // Writes the user file's keys, then UT2003.ini's; the batch is used up.
    // Throws the accessor's failure (EIniFileException) for the first file
    // that cannot be written; that file is as it was.
    void commit();

    // Every key whose bytes commit() would change, each file's keys in the
    // order of the Save, with its value on disk and the value it would
    // write; then the keys a Save would refuse, with the reason as their
    // value. Reads only.
    std::vector<PendingWrite> pending() const;

private:
    const RunTime& m_rt;
    std::vector<KeyWrite> m_keys;
    std::vector<KeyWrite> m_refused;
};
