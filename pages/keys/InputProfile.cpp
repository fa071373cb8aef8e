#include "pages/keys/InputProfile.h"

#include "dialogs/Guard.h"
#include "profile/ECorvaneError.h"

namespace InputProfile {

TIniFile& of(const RunTime& rt)
{
    if (!rt.UserProfile) throw ECorvaneError("No user file is open");
    return *rt.UserProfile;
}

void showFailure(const std::exception& failure) { Guard::showFailure(failure); }

} // namespace InputProfile
