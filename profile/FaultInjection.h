#pragma once

#include <functional>
#include <string>

// A seam for the tests of failures: every whole-file operation of the
// program (a file copy, a delete, a replacement of a profile by the accessor
// or by the raw text page) asks here first, and fails as a full disk would
// when the installed hook says no. Without a hook everything is allowed.
namespace FaultInjection {

enum class Operation { Copy, Delete, Write };

using Hook = std::function<bool(Operation, const std::string& path)>; // false: fail this one

void setHook(Hook hook);
bool allowed(Operation operation, const std::string& path);

} // namespace FaultInjection
