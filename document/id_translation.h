// Copies between data files renumber ids through maps from the other file's ids to this one's.
#pragma once
#include <cstdint>

#include "storage/id_set.h"

// The ids of `ids` through `lookup` into `out`, sorted and without duplicates; `lookup` gives
// kNoneId for an id that has no counterpart, and that id is left out.
template <class Lookup>
void TranslateIds(const CIdSet& ids, Lookup lookup, CIdSet& out)
{
    out.Values().clear();
    for (int32_t id : ids.Values())
        out.Values().push_back(lookup(id));
    out.Sort();
}
