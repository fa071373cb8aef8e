#ifdef _WIN32 // the build takes IniFileIoPosix.cpp elsewhere

#include "profile/IniFileIo.h"

#include "profile/FaultInjection.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <climits>

namespace IniFileIo {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// FILETIME counts 100 ns from 1601; the stamps count ns from 1970.
constexpr std::uint64_t kTicksFrom1601To1970 = 116444736000000000ULL;
// One ReadFile or WriteFile call moves at most this many bytes.
constexpr std::size_t kChunk = std::size_t(1) << 30;

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) noexcept
        : m_handle(handle)
    {
    }
    ~Handle()
    {
        if (valid()) ::CloseHandle(m_handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const noexcept { return m_handle; }
    bool valid() const noexcept { return m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle) noexcept
    {
        if (valid()) ::CloseHandle(m_handle);
        m_handle = handle;
    }
    // Closes now and reports the result.
    bool close() noexcept
    {
        const HANDLE handle = m_handle;
        m_handle = INVALID_HANDLE_VALUE;
        return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
    }

private:
    HANDLE m_handle;
};

// A path the Windows calls take whatever its length: past MAX_PATH only the
// "\\?\" form works, and that form must be a full path with backslashes.
std::wstring forLongPath(std::wstring wide)
{
    if (wide.size() < MAX_PATH - 12 || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
    DWORD length = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (length == 0) return wide;
    std::wstring full(length, L'\0');
    length = ::GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (length == 0 || length >= full.size()) return wide;
    full.resize(length);
    if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// The UTF-8 path as the wide text of the Windows calls; nothing for an empty
// path, invalid UTF-8 or a zero byte (which would cut the path short).
std::optional<std::wstring> widePath(const std::string& path)
{
    if (path.empty() || path.size() > INT_MAX || path.find('\0') != std::string::npos) return std::nullopt;
    const int size = static_cast<int>(path.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
    if (length <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path.data(), size, wide.data(), length) != length)
        return std::nullopt;
    return forLongPath(std::move(wide));
}

std::optional<std::string> utf8Path(std::wstring_view wide)
{
    if (wide.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        std::optional<std::string> rest = utf8Path(wide.substr(8));
        return rest ? std::optional<std::string>("\\\\" + *rest) : std::nullopt;
    }
    if (wide.rfind(L"\\\\?\\", 0) == 0) wide.remove_prefix(4);
    if (wide.empty() || wide.size() > INT_MAX) return std::nullopt;
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::nullopt;
    std::string text(static_cast<std::size_t>(length), '\0');
    if (::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, text.data(), length, nullptr,
                              nullptr) != length)
        return std::nullopt;
    return text;
}

bool isMissing(DWORD error) noexcept { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

HANDLE openExisting(const std::wstring& path, DWORD access, DWORD flags = FILE_ATTRIBUTE_NORMAL)
{
    return ::CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, flags, nullptr);
}

bool describe(HANDLE file, FileInfo& info)
{
    BY_HANDLE_FILE_INFORMATION data;
    if (!::GetFileInformationByHandle(file, &data)) return false;
    info.volume = data.dwVolumeSerialNumber;
    info.index = static_cast<std::uint64_t>(data.nFileIndexHigh) << 32 | data.nFileIndexLow;
    info.size = static_cast<std::int64_t>(static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow);
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
    info.modifiedNs = (static_cast<std::int64_t>(ticks) - static_cast<std::int64_t>(kTicksFrom1601To1970)) * 100;
    info.attributes = data.dwFileAttributes;
    info.links = data.nNumberOfLinks;
    return true;
}

bool writeAll(HANDLE file, std::initializer_list<std::string_view> parts)
{
    for (std::string_view part : parts) {
        while (!part.empty()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min(part.size(), kChunk));
            if (!::WriteFile(file, part.data(), chunk, &written, nullptr) || written == 0)
                return false; // ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL, an I/O error
            part.remove_prefix(written);
        }
    }
    return true;
}

bool readRest(HANDLE file, std::string& out)
{
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, chunk, sizeof chunk, &got, nullptr)) return false;
        if (got == 0) return true;
        out.append(chunk, got);
    }
}

bool rewind(HANDLE file)
{
    LARGE_INTEGER start{};
    return ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

// Writes `parts` over the existing file itself, for a directory that refuses
// new files. The old content is kept in memory and written back if any step
// fails. Others may read meanwhile, but not write.
bool writeInPlace(const std::wstring& target, std::initializer_list<std::string_view> parts, FileInfo* written)
{
    Handle file(::CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return false;
    std::string old;
    if (!readRest(file.get(), old) || !rewind(file.get())) return false;
    if (writeAll(file.get(), parts) && ::SetEndOfFile(file.get()) && ::FlushFileBuffers(file.get()) &&
        (written == nullptr || describe(file.get(), *written)))
        return file.close();
    if (rewind(file.get()) && writeAll(file.get(), {old})) (void)::SetEndOfFile(file.get());
    (void)::FlushFileBuffers(file.get());
    return false;
}

// Moves the written temporary file over the target. Windows refuses to
// replace a file that another program holds open, even one that lets others
// delete it: the game reading its profile, a virus scanner or the search
// indexer looking at the new file. Such a holder lets go within moments, so
// the move is tried again for about a second before the write fails.
bool moveOver(const std::wstring& temporary, const std::wstring& target)
{
    constexpr DWORD kWaitsMs[] = {0, 1, 2, 5, 10, 20, 40, 60, 80, 100, 150, 200, 250};
    for (const DWORD wait : kWaitsMs) {
        if (wait > 0) ::Sleep(wait);
        if (::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = ::GetLastError();
        if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) return false;
    }
    return false;
}

// The attributes a new file takes from the old one it replaces, as a
// replacement keeps them (hidden, system, archive); its security comes from
// the directory.
DWORD attributesLike(const FileInfo* like)
{
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD attributes = like != nullptr ? like->attributes & kKept : 0;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

} // namespace

FileBytes::Status FileBytes::read(const std::string& path)
{
    m_bytes = {};
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return Status::Failed;
    Handle file(openExisting(*wide, GENERIC_READ));
    if (!file.valid()) return isMissing(::GetLastError()) ? Status::Missing : Status::Failed;
    // Only a file on disk is a profile: a device (CON, a pipe) would block or never end.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK || !describe(file.get(), m_info) ||
        (m_info.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Status::Failed;

    // One byte more than the file's size, so that the end shows in one read.
    std::size_t size = 0;
    std::size_t wanted = static_cast<std::size_t>(m_info.size) + 1;
    if (wanted < 4096) wanted = 4096;
    if (!reserve(wanted)) return Status::Failed;
    for (;;) {
        if (size == capacity() && !reserve(capacity() * 2)) return Status::Failed; // the file grows while it is read
        DWORD got = 0;
        const DWORD chunk = static_cast<DWORD>(std::min(capacity() - size, kChunk));
        if (!::ReadFile(file.get(), data() + size, chunk, &got, nullptr)) return Status::Failed;
        if (got == 0) break;
        size += got;
    }
    m_bytes = std::string_view(data(), size);
    return Status::Read;
}

std::optional<std::string> resolveLinks(const std::string& path)
{
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return std::nullopt;
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path; // not a link, or nothing there yet
    // A symbolic link: Windows follows it to its end. One that leads nowhere
    // or loops cannot be opened, and is not written through.
    Handle file(openExisting(*wide, 0, FILE_FLAG_BACKUP_SEMANTICS));
    if (!file.valid()) return std::nullopt;
    DWORD length = ::GetFinalPathNameByHandleW(file.get(), nullptr, 0, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    std::wstring target(length, L'\0');
    length = ::GetFinalPathNameByHandleW(file.get(), target.data(), length, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0 || length >= target.size()) return std::nullopt;
    target.resize(length);
    return utf8Path(target);
}

bool mayWrite(const std::string& path, const FileInfo& info)
{
    if ((info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) return false;
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    const Handle file(openExisting(*wide, GENERIC_WRITE)); // opening for writing changes nothing
    return file.valid();
}

bool replaceFile(const std::string& target, const FileInfo* original, std::initializer_list<std::string_view> parts,
                 FileInfo* written)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, target)) return false;
    const std::optional<std::wstring> wideTarget = widePath(target);
    if (!wideTarget) return false;

    const DWORD attributes = attributesLike(original);
    std::wstring temporary;
    std::string temporaryUtf8;
    Handle file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporaryUtf8 = temporaryName(target);
        const std::optional<std::wstring> name = widePath(temporaryUtf8);
        if (!name) return false;
        temporary = *name;
        file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr));
        if (file.valid()) break;
        const DWORD error = ::GetLastError();
        if (error == ERROR_ACCESS_DENIED && original != nullptr)
            return writeInPlace(*wideTarget, parts,
                                written); // the directory refuses new files, the file may be written
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false; // missing directory, full disk
    }
    if (!file.valid()) return false;

    bool ok = writeAll(file.get(), parts) && FaultInjection::allowed(FaultInjection::Operation::Sync, temporaryUtf8) &&
              ::FlushFileBuffers(file.get());
    ok = ok && (written == nullptr || describe(file.get(), *written)); // a move keeps what this tells
    ok = file.close() && ok;
    ok = ok && FaultInjection::allowed(FaultInjection::Operation::Rename, temporaryUtf8) &&
         moveOver(temporary, *wideTarget);
    if (!ok) ::DeleteFileW(temporary.c_str());
    return ok;
}

bool syncFile(const std::string& target)
{
    const std::optional<std::wstring> wide = widePath(target);
    if (!wide) return false;
    // A replacement flushed the new file before its move and the move was
    // written through: a file that cannot be opened for writing now is on
    // disk already.
    const Handle file(openExisting(*wide, GENERIC_WRITE));
    if (!file.valid()) return true;
    return ::FlushFileBuffers(file.get()) != 0;
}

bool createFile(const std::string& path, std::string_view bytes, const FileInfo* like, const std::string& replaced)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, replaced)) return false;
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    Handle file(::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributesLike(like), nullptr));
    if (!file.valid()) return false;
    const bool ok = writeAll(file.get(), {bytes}) && FaultInjection::allowed(FaultInjection::Operation::Sync, path) &&
                    ::FlushFileBuffers(file.get());
    return file.close() && ok;
}

bool renameOver(const std::string& from, const std::string& to, bool)
{
    // A move is written through (MOVEFILE_WRITE_THROUGH): durable when it returns.
    if (!FaultInjection::allowed(FaultInjection::Operation::Rename, from)) return false;
    const std::optional<std::wstring> wideFrom = widePath(from), wideTo = widePath(to);
    return wideFrom && wideTo && moveOver(*wideFrom, *wideTo);
}

bool linkFile(const std::string& existing, const std::string& name)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Copy, name)) return false;
    const std::optional<std::wstring> wideExisting = widePath(existing), wideName = widePath(name);
    return wideExisting && wideName && ::CreateHardLinkW(wideName->c_str(), wideExisting->c_str(), nullptr);
}

bool syncDirectoryOf(const std::string&) { return true; } // NTFS writes its directory entries through

bool overwrite(const std::string& path, std::string_view bytes)
{
    if (!FaultInjection::allowed(FaultInjection::Operation::Write, path)) return false;
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    Handle file(openExisting(*wide, GENERIC_WRITE));
    if (!file.valid()) return false;
    const bool ok = writeAll(file.get(), {bytes}) && ::SetEndOfFile(file.get()) &&
                    FaultInjection::allowed(FaultInjection::Operation::Sync, path) && ::FlushFileBuffers(file.get());
    return file.close() && ok;
}

bool removeFile(const std::string& path)
{
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    if (::GetFileAttributesW(wide->c_str()) == INVALID_FILE_ATTRIBUTES && isMissing(::GetLastError()))
        return true; // nothing to do, nothing to fail
    if (!FaultInjection::allowed(FaultInjection::Operation::Delete, path)) return false;
    return ::DeleteFileW(wide->c_str()) || isMissing(::GetLastError());
}

std::uint32_t linkCount(const FileInfo& info) { return info.links; }

FileInfo ownerWritable(FileInfo info)
{
    info.attributes &= ~static_cast<std::uint32_t>(FILE_ATTRIBUTE_READONLY);
    return info;
}

bool setModified(const std::string& path, const FileInfo& like)
{
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return false;
    const Handle file(openExisting(*wide, FILE_WRITE_ATTRIBUTES));
    if (!file.valid()) return false;
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(like.modifiedNs / 100 + static_cast<std::int64_t>(kTicksFrom1601To1970));
    FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    return ::SetFileTime(file.get(), nullptr, nullptr, &written) != 0;
}

FileStamp stampOf(const FileInfo& info) { return {info.volume, info.index, info.size, info.modifiedNs}; }

FileStamp stampAt(const std::string& path)
{
    const std::optional<std::wstring> wide = widePath(path);
    if (!wide) return {};
    const Handle file(openExisting(*wide, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS));
    FileInfo info;
    if (!file.valid() || !describe(file.get(), info)) return {};
    return stampOf(info);
}

} // namespace IniFileIo

#endif // _WIN32
