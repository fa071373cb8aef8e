#include "pages/keys/InputProfile.h"

#include "dialogs/MessageBox.h"
#include "profile/ECorvaneError.h"

namespace InputProfile {

TIniFile& of(RunTime& rt)
{
    if (!rt.UserProfile) throw ECorvaneError("No user file is open");
    return *rt.UserProfile;
}

void showFailure(const std::exception& failure)
{
    MessageBox::error(QStringLiteral("Error occured:") + QString::fromLocal8Bit(failure.what()));
}

} // namespace InputProfile
