#pragma once

#include <string>
#include <vector>

// Which profile file holds a key. Viewport is the section of UT2003.ini named
// by the engine's ViewportManager; it is looked up each time it is used.
enum class ProfileFile { User, Game, Viewport };

// One key a Save writes: its file, its section (a viewport section already
// named), its key and the bytes of its value.
struct KeyWrite {
    ProfileFile file = ProfileFile::User;
    std::string section;
    std::string key;
    std::string value;
};

// The keys a page's save writes, in order. `lenient` collects for the list of
// pending changes: a key whose text the game's files cannot hold goes into
// `refused`, with the message as its value, and the rest are still collected.
struct KeyWrites {
    std::vector<KeyWrite> keys;
    bool lenient = false;
    std::vector<KeyWrite> refused;
};
