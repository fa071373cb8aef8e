// Fuzzes the profile accessor with arbitrary file bytes and a sequence of
// writes and reads, checking the rules every profile keeps:
// - a written value reads back as written (trimmed, cut at 2047 bytes);
// - a write changes the line of its entry only (or adds lines), every other
//   byte of the file stays;
// - ReadSections lists the headers a plain scan of the lines finds.
//
// Input: the first byte is the number of operations (0..7); each takes four
// bytes (section, key, value length, what to do) from the front; the rest is
// the file's content.

#include "profile/ECorvaneError.h"
#include "profile/IniEdits.h"
#include "profile/IniFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

const std::string& scratchFile()
{
    static const std::string path = [] {
        // In $TMPDIR when set: the test command points it at a directory it removes.
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/corvane-fuzz-XXXXXX";
        const int fd = ::mkstemp(name.data());
        if (fd >= 0) ::close(fd);
        return name;
    }();
    return path;
}

void put(const std::string& path, std::string_view bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string get(const std::string& path)
{
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
        out.append(chunk, n);
    std::fclose(f);
    return out;
}

bool blank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1A;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && blank(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && blank(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// The headers of the file, line by line, as far as the names fit the
// platform's list buffer of 16384 bytes.
std::vector<std::string> scanHeaders(std::string_view content)
{
    std::vector<std::string> names;
    std::size_t used = 1; // the list's closing zero
    std::size_t start = 0;
    while (start <= content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = content.size();
        const std::string_view line = trimmed(content.substr(start, end - start));
        if (!line.empty() && line.front() == '[') {
            const std::size_t close = line.rfind(']');
            if (close != std::string_view::npos && close > 0) {
                const std::string_view name = trimmed(line.substr(1, close - 1));
                if (!name.empty()) {
                    if (used + name.size() + 1 > 16384) break;
                    used += name.size() + 1;
                    names.emplace_back(name);
                }
            }
        }
        if (end == content.size()) break;
        start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return names;
}

const char* const Sections[] = {"Engine.Input", "DefaultPlayer", "corvane", "New Section", "A"};
const char* const Keys[] = {"Name", "Aliases[3]", "K", "team", "New.Key"};

std::string makeValue(unsigned length, unsigned seed)
{
    static const char Alphabet[] = "abcXYZ019,;:()|-";
    std::string v;
    for (unsigned i = 0; i < length; ++i)
        v.push_back(Alphabet[(seed + i * 7) % (sizeof Alphabet - 1)]);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    std::size_t ops = data[0] % 8, at = 1;
    struct Op {
        std::uint8_t section, key, length, what;
    };
    std::vector<Op> plan;
    while (ops-- > 0 && at + 4 <= size) {
        plan.push_back({data[at], data[at + 1], data[at + 2], data[at + 3]});
        at += 4;
    }
    const std::string_view content(reinterpret_cast<const char*>(data) + at, size - at);
    const std::string& path = scratchFile();
    put(path, content);
    TIniFile ini(path);

    std::vector<std::string> sections;
    ini.ReadSections(sections);
    if (sections != scanHeaders(content)) std::abort();

    std::vector<IniEdits::Write> writes;
    for (const Op& op : plan) {
        const std::string section = Sections[op.section % 5];
        const std::string key = Keys[op.key % 5];
        if (op.what % 3 == 0) {
            (void)ini.ReadString(section, key, "default");
            continue;
        }
        const std::string value = makeValue(op.length * 12u, op.what);
        writes.push_back({section, key, value});
        const std::string before = get(path);
        try {
            ini.WriteString(section, key, value);
        } catch (const ECorvaneError&) {
            std::abort(); // a writable file in a writable directory
        }
        const std::string after = get(path);
        if (ini.ReadString(section, key, "default") != value.substr(0, 2047)) std::abort();
        // Everything outside one line of the old file is kept.
        std::size_t prefix = 0;
        while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
            ++prefix;
        std::size_t suffix = 0;
        while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
               before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
            ++suffix;
        const std::string_view removed = std::string_view(before).substr(prefix, before.size() - prefix - suffix);
        if (removed.find_first_of("\r\n") != std::string_view::npos) std::abort();
    }
    // The same writes as one batch leave the same bytes.
    std::string batched(content);
    IniEdits::apply(batched, writes);
    if (batched != get(path)) std::abort();
    return 0;
}
