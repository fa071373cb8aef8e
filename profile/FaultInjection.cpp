#include "profile/FaultInjection.h"

namespace FaultInjection {
namespace {

Hook& installed()
{
    static Hook hook;
    return hook;
}

} // namespace

void setHook(Hook hook) { installed() = std::move(hook); }

bool allowed(Operation operation, const std::string& path) { return !installed() || installed()(operation, path); }

} // namespace FaultInjection
