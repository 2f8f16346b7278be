// List helpers that carry real rules.
#pragma once

#include <QtGlobal>

namespace tessel {

/// The sum of fn's 32-bit results over all elements, widened to 64 bits before adding, so a
/// long list of large results cannot overflow. With a 1/0 callback it counts matches.
template <typename List, typename Fn>
qint64 collect(const List& list, Fn fn) {
    qint64 total = 0;
    for (const auto& element : list)
        total += static_cast<qint64>(static_cast<qint32>(fn(element)));
    return total;
}

}  // namespace tessel
