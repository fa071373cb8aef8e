#include "profile/IniFileIo.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

// What both platforms' file access share: the read buffer and the names of
// temporary files.

namespace IniFileIo {

struct FileBytes::Buffer {
    char* data = nullptr;
    std::size_t capacity = 0;
    bool inUse = false;

    ~Buffer() { std::free(data); }

    bool reserve(std::size_t size)
    {
        if (size <= capacity) return true;
        char* grown = static_cast<char*>(std::realloc(data, size));
        if (grown == nullptr) return false;
        data = grown;
        capacity = size;
        return true;
    }

    void release()
    {
        std::free(data);
        data = nullptr;
        capacity = 0;
    }
};

namespace {

// A buffer this large is not kept for the next file.
constexpr std::size_t kKeptBufferSize = std::size_t(8) << 20;

} // namespace

FileBytes::~FileBytes()
{
    if (m_buffer == nullptr) return;
    if (m_ownsBuffer) {
        delete m_buffer;
        return;
    }
    if (m_buffer->capacity > kKeptBufferSize) m_buffer->release();
    m_buffer->inUse = false;
}

bool FileBytes::reserve(std::size_t size)
{
    if (m_buffer == nullptr) {
        static thread_local Buffer shared;
        if (!shared.inUse) {
            m_buffer = &shared;
            m_buffer->inUse = true;
        } else {
            m_buffer = new Buffer;
            m_ownsBuffer = true;
        }
    }
    return m_buffer->reserve(size);
}

char* FileBytes::data() const noexcept { return m_buffer->data; }

std::size_t FileBytes::capacity() const noexcept { return m_buffer->capacity; }

std::string temporaryName(const std::string& target)
{
    thread_local std::minstd_rand random(
        std::random_device{}() ^ static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
#ifdef _WIN32
    const std::size_t slash = target.find_last_of("/\\");
#else
    const std::size_t slash = target.rfind('/');
#endif
    const std::string directory = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    if (base.size() > 200) { // room for the suffix within a file name's 255 bytes, cut between characters
        std::size_t cut = 200;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;
        base.resize(cut);
    }
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
    return directory + "." + base + suffix;
}

} // namespace IniFileIo
