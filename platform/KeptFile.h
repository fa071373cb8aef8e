#pragma once

#include <optional>
#include <string>

namespace platform {

// A file's content kept aside before a whole-file operation replaces it, so
// that the operation can put it back when a later step fails. The file is kept
// as a second, hidden name of the same file where the directory allows one (a
// replacement by rename leaves that name holding the old content, and putting
// it back is one rename), else as its bytes. A missing file is kept as missing:
// putting it back removes what the operation made there.
class KeptFile {
public:
    explicit KeptFile(std::string path);
    ~KeptFile(); // drops the kept copy
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // False when an existing file could not be kept (it could not be read).
    bool kept() const { return m_kept; }
    // The file as it was when kept. False when that could not be done.
    bool putBack();

private:
    std::string m_path;
    bool m_kept = false;
    bool m_existed = false;
    std::string m_link;                 // the hidden second name, if made
    std::optional<std::string> m_bytes; // else the content
};

} // namespace platform
