#pragma once

#include <functional>
#include <string>

// A seam for the tests of failures: every whole-file operation of the
// program (a file copy, a delete, a replacement of a profile by the accessor
// or by the raw text page, the sync of a new file and its rename over the
// old one) asks here first, and fails as a full disk would when the
// installed hook says no. Without a hook everything is allowed.
//
// A hook may also throw Killed: the operation then stops where it stands, as
// a kill of the program would stop it, with nothing after it undone or
// cleaned up (nothing in the file operations catches it).
namespace FaultInjection {

// Write: a new file or a file's content written (path: that file). Sync: a
// written file made durable. Rename: a written file renamed over its target
// (path: the file renamed).
enum class Operation { Copy, Delete, Write, Sync, Rename };

struct Killed {};

using Hook = std::function<bool(Operation, const std::string& path)>; // false: fail this one

void setHook(Hook hook);
bool allowed(Operation operation, const std::string& path);

} // namespace FaultInjection
