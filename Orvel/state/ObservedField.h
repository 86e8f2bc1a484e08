#pragma once
// The rule of the state's observed fields: a new value is always stored, and observers hear of it only
// when it differs from the old one by its type's equality.

#include <utility>

namespace orvel {

// Stores `value` in `field`; true when it differed.
template <class T> bool replaceObserved(T& field, T value) {
    const bool changed = !(field == value);
    field = std::move(value);
    return changed;
}

} // namespace orvel
