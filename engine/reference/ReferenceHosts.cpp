#include "engine/reference/ReferenceHosts.h"

namespace orvel {

ReferenceHosts ReferenceHosts::all(const std::string& base) {
    const std::string folder = base.ends_with('/') ? base : base + "/";
    return {folder, folder, folder, folder, folder, folder};
}

} // namespace orvel
