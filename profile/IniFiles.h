#pragma once

#include "profile/ECorvaneError.h"
#include "profile/FileStamp.h"
#include "profile/IniEdits.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Raised when a profile file cannot be written: "Unable to write to <path>".
class EIniFileException : public ECorvaneError {
public:
    explicit EIniFileException(const std::string& path)
        : ECorvaneError("Unable to write to " + path)
    {
    }
};

// Reads and writes values of a profile file (the game's .ini files and the
// program's own configuration) by section and key, the way the game's
// platform does: names match without regard to letter case, the first match
// wins, untouched lines keep their bytes. Text is bytes: no conversion.
class TCustomIniFile {
public:
    virtual ~TCustomIniFile() = default;

    virtual std::string ReadString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue) const = 0;
    virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual std::int32_t ReadInteger(const std::string& section, const std::string& key,
                                     std::int32_t defaultValue) const;
    virtual void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    virtual bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    virtual void WriteBool(const std::string& section, const std::string& key, bool value);
    virtual double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;
    virtual void ReadSections(std::vector<std::string>& sections) const = 0;
    virtual void UpdateFile() = 0;
};

// The stamp of the file at `path` now, links followed (size -1: no file).
FileStamp stampOf(const std::string& path);

// An accessor bound to one file path. It keeps no handle and no content:
// every operation opens, reads (and for writes, atomically replaces) the file.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(std::string path);
    ~TIniFile() override; // makes earlier writes durable (UpdateFile)

    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const noexcept { return m_fileName; }

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const override;
    void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    // Several writes at once: the file is read once and replaced at most once
    // (not at all when no key changes), and holds afterwards exactly what the
    // writes one by one would have left. All of them or none: every write is
    // checked before the file is read, and a failure leaves the file as it
    // was (EIniFileException, or ECorvaneError for a write no file can hold).
    virtual void WriteStrings(std::span<const IniEdits::Write> writes);
    // What WriteStrings would leave in the file, without writing it: the same
    // checks and failures before the file is read.
    virtual std::string plannedContent(std::span<const IniEdits::Write> writes) const;
    // The file was replaced by other means on this accessor's behalf (the
    // pair of profiles replaced as one): it counts as this accessor's write.
    void noteReplaced();
    void ReadSections(std::vector<std::string>& sections) const override;
    void UpdateFile() override;

    // The file as this accessor's last write left it (size -1: no write yet),
    // so that the program can tell its own writes from another program's.
    const FileStamp& LastWrite() const noexcept { return m_lastWrite; }

private:
    std::string m_fileName;
    bool m_pendingSync = false; // written since the last UpdateFile
    FileStamp m_lastWrite;
};
