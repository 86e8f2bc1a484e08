#include "core/ItemId.h"

namespace orvel::json {

std::string itemId(const Json& object) {
    if (!object.is_object())
        return {};
    const auto id = object.find("id");
    if (id == object.end())
        return {};
    if (id->is_string())
        return id->get<std::string>();
    if (id->is_number_integer())
        return id->dump();
    return {};
}

} // namespace orvel::json
