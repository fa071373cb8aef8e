#include "profile/IniText.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string.h> // memrchr
#include <string_view>

#if defined(__x86_64__)
#include <emmintrin.h>
#define CORVANE_X86 1
#endif

namespace IniText {
namespace {

constexpr std::array<unsigned char, 256> makeFoldTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}
constexpr auto kFold = makeFoldTable();

// Blanks that can stand inside a line (CR and LF always end one).
constexpr bool isInlineBlank(unsigned char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A;
}

constexpr bool isLineBreak(unsigned char c) noexcept { return c == '\r' || c == '\n'; }

// The first CR or LF in [p, end), or end.
const char* findLineBreak(const char* p, const char* end) noexcept
{
#if defined(CORVANE_X86)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !isLineBreak(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

// The next "[" in [p, end) that may begin a header: the one at `begin` or one
// after a blank (a line break, or the indentation of a header); `end` when
// there is none. The caller checks that it begins its line. Most "[" of a
// profile stand inside lines ("Aliases[0]=..."); the vector version below
// passes over them 16 bytes at a time. It reads a 40 KB profile's last
// section in half the time of the plain loop and a 1 MB one in a fifth;
// wider vectors (AVX2, AVX-512) gained nothing more at these sizes.
const char* findHeaderCandidateScalar(const char* begin, const char* p, const char* end) noexcept
{
    for (; p < end; ++p) {
        if (*p == '[' && (p == begin || isBlank(static_cast<unsigned char>(p[-1])))) return p;
    }
    return end;
}

#if defined(CORVANE_X86)
// The vector search takes every "[" after a byte up to the space (the blanks
// and other control bytes) and leaves the exact test to the caller's walk back
// over the line's indentation.
const char* findHeaderCandidateSse2(const char* begin, const char* p, const char* end) noexcept
{
    if (p == begin && p < end && *p == '[') return p;
    if (p == begin) ++p;
    const __m128i open = _mm_set1_epi8('[');
    const __m128i space = _mm_set1_epi8(' ');
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned opens = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, open)));
        if (opens != 0) {
            const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 1));
            const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(before, space), before);
            const unsigned hits = opens & static_cast<unsigned>(_mm_movemask_epi8(low));
            if (hits != 0) return p + __builtin_ctz(hits);
        }
        p += 16;
    }
    return findHeaderCandidateScalar(begin, p, end);
}

using CandidateFinder = const char* (*)(const char*, const char*, const char*) noexcept;

CandidateFinder finderFor(HeaderSearch search) noexcept
{
    return search == HeaderSearch::Sse2 ? findHeaderCandidateSse2 : findHeaderCandidateScalar;
}

// SSE2 is part of every x86-64 processor.
bool supported(HeaderSearch) noexcept { return true; }

HeaderSearch bestSearch() noexcept { return HeaderSearch::Sse2; }
#else
using CandidateFinder = const char* (*)(const char*, const char*, const char*) noexcept;
CandidateFinder finderFor(HeaderSearch) noexcept { return findHeaderCandidateScalar; }
bool supported(HeaderSearch search) noexcept { return search == HeaderSearch::Scalar; }
HeaderSearch bestSearch() noexcept { return HeaderSearch::Scalar; }
#endif

HeaderSearch g_search = bestSearch();
CandidateFinder findHeaderCandidate = finderFor(g_search);

// The start of the next line after a line that ends at `lineEnd` (CR LF counts once).
const char* skipLineEnd(const char* lineEnd, const char* end) noexcept
{
    if (lineEnd == end) return end;
    if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n') return lineEnd + 2;
    return lineEnd + 1;
}

const char* skipInlineBlanks(const char* p, const char* end) noexcept
{
    while (p < end && isInlineBlank(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

// The section name of a line whose first non-blank byte `open` is "[", when
// the line is a header; `lineEnd` is the line's end.
bool headerName(const char* open, const char* lineEnd, std::string_view& name) noexcept
{
    const char* afterOpen = open + 1;
    if (afterOpen >= lineEnd) return false;
#ifdef _WIN32 // no memrchr in the Windows C library
    const std::size_t at = std::string_view(afterOpen, static_cast<std::size_t>(lineEnd - afterOpen)).rfind(']');
    const char* close = at == std::string_view::npos ? nullptr : afterOpen + at;
#else
    const void* close = ::memrchr(afterOpen, ']', static_cast<std::size_t>(lineEnd - afterOpen));
#endif
    if (close == nullptr) return false;
    name = trim(std::string_view(afterOpen, static_cast<std::size_t>(static_cast<const char*>(close) - afterOpen)));
    return true;
}

bool mayStartWithName(const char* text, const char* end, std::string_view prefix) noexcept;

// Walks the section headers of a profile. Only a "[" that may begin a line
// is looked at closer; the lines between headers are passed over in blocks.
class HeaderScanner {
public:
    explicit HeaderScanner(std::string_view content) noexcept
        : m_begin(content.data())
        , m_end(content.data() + content.size())
        , m_pos(m_begin)
    {
    }

    // Moves to the next header; false at the end of the file. With a
    // `wanted` name, headers that cannot have that name are passed over
    // without finding their line's end.
    bool next(std::string_view wanted = {}) noexcept
    {
        while (m_pos < m_end) {
            const char* open = findHeaderCandidate(m_begin, m_pos, m_end);
            if (open == m_end) {
                m_pos = m_end;
                return false;
            }
            const char* before = open;
            while (before > m_begin && isInlineBlank(static_cast<unsigned char>(before[-1])))
                --before;
            if (before != m_begin && !isLineBreak(static_cast<unsigned char>(before[-1]))) {
                m_pos = open + 1; // "[" after a blank inside a line: "x [y]"
                continue;
            }
            if (!wanted.empty() && !mayStartWithName(skipInlineBlanks(open + 1, m_end), m_end, wanted)) {
                m_pos = open + 1; // no other "[" of this line can begin it
                continue;
            }
            const char* lineEnd = findLineBreak(open + 1, m_end);
            m_pos = skipLineEnd(lineEnd, m_end);
            if (headerName(open, lineEnd, m_name)) {
                m_lineEnd = lineEnd;
                return true;
            }
        }
        return false;
    }

    std::string_view name() const noexcept { return m_name; }
    const char* lineEnd() const noexcept { return m_lineEnd; } // end of the header line's text
    const char* nextLine() const noexcept { return m_pos; }    // start of the line after the header

private:
    const char* m_begin;
    const char* m_end;
    const char* m_pos;
    const char* m_lineEnd = nullptr;
    std::string_view m_name;
};

} // namespace

std::vector<HeaderSearch> availableHeaderSearches()
{
    std::vector<HeaderSearch> searches;
    for (HeaderSearch search : {HeaderSearch::Scalar, HeaderSearch::Sse2}) {
        if (supported(search)) searches.push_back(search);
    }
    return searches;
}

HeaderSearch useHeaderSearch(HeaderSearch search) noexcept
{
    const HeaderSearch previous = g_search;
    if (supported(search)) {
        g_search = search;
        findHeaderCandidate = finderFor(search);
    }
    return previous;
}

bool isBlank(unsigned char c) noexcept { return isInlineBlank(c) || isLineBreak(c); }

std::string_view trim(std::string_view text) noexcept
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && isBlank(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

bool equalsNoCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (kFold[static_cast<unsigned char>(a[i])] != kFold[static_cast<unsigned char>(b[i])]) return false;
    }
    return true;
}

namespace {
// False when the header text at `text` cannot hold the name `prefix`: the
// byte after the name must end it (a blank or "]") and its last letter must
// match; most headers of a file fail one of these, so the whole name is
// compared only for the few that pass.
bool mayStartWithName(const char* text, const char* end, std::string_view prefix) noexcept
{
    const std::size_t n = prefix.size();
    if (static_cast<std::size_t>(end - text) <= n) return false;
    const unsigned char after = static_cast<unsigned char>(text[n]);
    if (after != ']' && !isInlineBlank(after)) return false;
    if (kFold[static_cast<unsigned char>(text[n - 1])] != kFold[static_cast<unsigned char>(prefix[n - 1])])
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (kFold[static_cast<unsigned char>(text[i])] != kFold[static_cast<unsigned char>(prefix[i])]) return false;
    }
    return true;
}
} // namespace

bool containsLineBreak(std::string_view text) noexcept
{
    return findLineBreak(text.data(), text.data() + text.size()) != text.data() + text.size();
}

namespace {

// Goes over the entries of a section, from the line after its header up to
// the next header: `entry(key, valueBegin, valueEnd, lineEnd)` for each line
// with an "=" (key and value without their blanks), until it returns true.
template <class Entry> void entriesFrom(const char* line, const char* end, Entry&& entry)
{
    while (line < end) {
        const char* lineEnd = findLineBreak(line, end);
        const char* text = skipInlineBlanks(line, lineEnd);
        if (text < lineEnd) {
            std::string_view ignored;
            if (*text == '[' && headerName(text, lineEnd, ignored)) return; // the next section
            const void* eq = std::memchr(text, '=', static_cast<std::size_t>(lineEnd - text));
            if (eq != nullptr) {
                const char* equals = static_cast<const char*>(eq);
                const char* valueBegin = skipInlineBlanks(equals + 1, lineEnd);
                const char* valueEnd = lineEnd;
                while (valueEnd > valueBegin && isInlineBlank(static_cast<unsigned char>(valueEnd[-1])))
                    --valueEnd;
                if (entry(trim(std::string_view(text, static_cast<std::size_t>(equals - text))), valueBegin, valueEnd,
                          lineEnd))
                    return;
            }
        }
        line = skipLineEnd(lineEnd, end);
    }
}

} // namespace

Location locate(std::string_view content, std::string_view section, std::string_view key) noexcept
{
    Location where;
    where.insertAt = content.size();

    HeaderScanner headers(content);
    bool found = false;
    while (headers.next(section)) {
        if (equalsNoCase(headers.name(), section)) {
            found = true;
            break;
        }
    }
    if (!found) return where;

    const char* const begin = content.data();
    const char* const end = begin + content.size();
    where.sectionFound = true;
    where.insertAt = static_cast<std::size_t>(headers.nextLine() - begin);
    where.insertNeedsLineEnd = headers.lineEnd() == end;
    entriesFrom(headers.nextLine(), end,
                [&](std::string_view entryKey, const char* valueBegin, const char* valueEnd, const char* lineEnd) {
                    if (equalsNoCase(entryKey, key)) {
                        where.entryFound = true;
                        where.valueBegin = static_cast<std::size_t>(valueBegin - begin);
                        where.valueEnd = static_cast<std::size_t>(valueEnd - begin);
                        return true;
                    }
                    where.insertAt = static_cast<std::size_t>(skipLineEnd(lineEnd, end) - begin);
                    where.insertNeedsLineEnd = lineEnd == end;
                    return false;
                });
    return where;
}

void forEachEntry(std::string_view content, const std::function<bool(std::string_view section)>& wanted,
                  const std::function<void(std::string_view section, std::string_view key, std::size_t valueBegin,
                                           std::size_t valueEnd)>& visit)
{
    const char* const begin = content.data();
    const char* const end = begin + content.size();
    HeaderScanner headers(content);
    while (headers.next()) {
        const std::string_view name = headers.name();
        if (!wanted(name)) continue;
        entriesFrom(headers.nextLine(), end,
                    [&](std::string_view key, const char* valueBegin, const char* valueEnd, const char*) {
                        visit(name, key, static_cast<std::size_t>(valueBegin - begin),
                              static_cast<std::size_t>(valueEnd - begin));
                        return false;
                    });
    }
}

void listSections(std::string_view content, std::vector<std::string>& names, std::size_t bufferSize)
{
    // The list ends with two zero bytes when full, so the names and their
    // zeros get bufferSize - 2 bytes.
    const std::size_t room = bufferSize >= 2 ? bufferSize - 2 : 0;
    std::size_t used = 0;
    std::size_t count = 0;
    HeaderScanner headers(content);
    while (headers.next()) {
        const std::string_view name = headers.name();
        if (name.empty()) continue;
        if (name.size() + 1 > room - used) break;
        used += name.size() + 1;
        // The strings already in the list are filled again, not freed and made anew.
        if (count < names.size())
            names[count].assign(name);
        else
            names.emplace_back(name);
        ++count;
    }
    names.resize(count);
}

bool isStorableKey(std::string_view key, std::string_view value) noexcept
{
    if (key.find('=') != std::string_view::npos) return false;
    if (!key.empty() && key.front() == '[') {
        // "[x" with a "]" later in the key or the value would read as a header.
        if (key.find(']') != std::string_view::npos || value.find(']') != std::string_view::npos) return false;
    }
    return true;
}

bool endsWithLineEnd(std::string_view content) noexcept
{
    return content.empty() || isLineBreak(static_cast<unsigned char>(content.back()));
}

bool lastLineIsBlank(std::string_view content) noexcept
{
    std::size_t end = content.size();
    if (end > 0 && content[end - 1] == '\n') --end;
    if (end > 0 && content[end - 1] == '\r') --end;
    while (end > 0 && !isLineBreak(static_cast<unsigned char>(content[end - 1]))) {
        if (!isInlineBlank(static_cast<unsigned char>(content[end - 1]))) return false;
        --end;
    }
    return true;
}

} // namespace IniText
