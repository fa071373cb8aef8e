#pragma once

#include "core/KeyWrite.h"
#include "core/PairNotReplaced.h"
#include "core/ProfilePair.h"
#include "core/PendingWrites.h"
#include "core/RunTime.h"

#include <map>
#include <string>
#include <vector>

// The keys of one Save, in the order the pages give them, applied per profile
// file to one copy of that file with the accessor's own rules, and both files
// replaced as one operation (all of the Save or none of it), kept in the
// history. A file whose keys change nothing is not touched.
class SaveBatch {
public:
    explicit SaveBatch(const RunTime& rt, std::string operation = "Save")
        : m_rt(rt)
        , m_operation(std::move(operation))
    {
    }

    void add(KeyWrites&& writes);

    // Writes the keys of both files; the batch is used up. `base` gives a
    // file's new content before the keys go onto it (the raw text page's
    // text) in place of its content on disk. Throws the accessor's failure
    // (EIniFileException, ECorvaneError) or PairNotReplaced; the files are
    // then as they were.
    void commit(const std::map<const TIniFile*, std::string>& base = {});

    // Every key whose bytes commit() would change, each file's keys in the
    // order of the Save, with its value on disk and the value it would
    // write; then the keys a Save would refuse, with the reason as their
    // value. Reads only.
    std::vector<PendingWrite> pending() const;

private:
    const RunTime& m_rt;
    std::string m_operation;
    std::vector<KeyWrite> m_keys;
    std::vector<KeyWrite> m_refused;
};
