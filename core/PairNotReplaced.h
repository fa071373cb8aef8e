#pragma once

#include "profile/ECorvaneError.h"

#include <string>

// The profiles could not be replaced as one: `path` could not be written, and
// every file of the operation is as it was before it.
class PairNotReplaced : public ECorvaneError {
public:
    explicit PairNotReplaced(const std::string& path)
        : ECorvaneError("Unable to write to " + path + "\nNothing has been changed: the profiles are as they were")
    {
    }
};
