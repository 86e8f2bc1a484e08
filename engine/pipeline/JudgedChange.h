#pragma once
// One fix proposed by a review, put before the judge as a change from one translation to another.

#include "core/SourceString.h"
#include "engine/apps/StringTranslation.h"

namespace orvel {

struct JudgedChange {
    SourceString string;
    StringTranslation before;
    StringTranslation after;
};

} // namespace orvel
