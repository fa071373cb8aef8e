#pragma once

#include "profile/IniFiles.h"

#include <QStringList>

#include <span>
#include <string>

namespace TestSupport {

// A profile through an accessor that logs the keys read through it (a key
// once in a row: the flag rule reads it more than once) and the keys of each
// write, into lists that several accessors may share.
class LoggingIni : public TIniFile {
public:
    LoggingIni(const std::string& path, QStringList& reads, QStringList& writes)
        : TIniFile(path)
        , m_reads(reads)
        , m_writes(writes)
    {
    }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& missing) const override
    {
        if (m_reads.isEmpty() || m_reads.last() != QString::fromStdString(key)) m_reads << QString::fromStdString(key);
        return TIniFile::ReadString(section, key, missing);
    }
    std::string plannedContent(std::span<const IniEdits::Write> batch) const override
    {
        for (const IniEdits::Write& w : batch)
            m_writes << QString::fromStdString(w.key);
        return TIniFile::plannedContent(batch);
    }

private:
    QStringList& m_reads;
    QStringList& m_writes;
};

} // namespace TestSupport
