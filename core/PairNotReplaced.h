#pragma once

#include "profile/ECorvaneError.h"

#include <string>

// The profiles could not be replaced as one: `path` could not be written.
// Every file of the operation is as it was before it, or, when even that
// failed, will be at the program's next start.
class PairNotReplaced : public ECorvaneError {
public:
    PairNotReplaced(const std::string& path, bool undone)
        : ECorvaneError("Unable to write to " + path + "\n" + consequence(undone))
        , m_path(path)
        , m_undone(undone)
    {
    }
    const std::string& path() const noexcept { return m_path; }
    bool undone() const noexcept { return m_undone; }
    static std::string consequence(bool undone)
    {
        return undone ? "Nothing has been changed: the profiles are as they were"
                      : "The profiles could not all be put back as they were: the next start of Corvane 2003 puts "
                        "them back";
    }

private:
    std::string m_path;
    bool m_undone;
};
