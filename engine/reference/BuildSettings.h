#pragma once
// How one build of a software reference reaches the programs' hosts and how long it waits for them.

#include "engine/reference/Downloader.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {

struct SoftwareReference::BuildSettings {
    ReferenceHosts hosts;
    // The wait between retries; empty means the real one.
    Downloader::Pause pause;
    Downloader::Limits limits;
};

} // namespace orvel
