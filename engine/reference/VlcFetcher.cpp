// VLC's gettext catalogue of one language at the release tag.

#include "engine/reference/Accelerators.h"
#include "engine/reference/Downloader.h"
#include "engine/reference/PoEntries.h"
#include "engine/reference/ReferenceHosts.h"
#include "engine/reference/SoftwareReference.h"

namespace orvel {

SoftwareReference::Pairs SoftwareReference::fetchVLC(const std::string& code, const Downloader& downloader,
                                                     const ReferenceHosts& hosts,
                                                     const std::stop_token& stop) {
    const std::string file = code + ".po";
    Pairs pairs;
    for (const auto& entry :
         SoftwareFormats::poEntries(downloader.text(hosts.vlc + "videolan/vlc/3.0.0/po/" + file, stop))) {
        Pairs entryPairs = poPairs(entry, file, Source::vlc, SoftwareFormats::strippingAmpersands);
        pairs.insert(pairs.end(), std::make_move_iterator(entryPairs.begin()),
                     std::make_move_iterator(entryPairs.end()));
    }
    return pairs;
}

} // namespace orvel
