// The keyword moves of the Keywords for Article dialog, without its windows: the assigned keywords
// and the available ones (every keyword of the file not assigned). A keyword typed that the file
// does not hold yet gets a pending id (negative) from the document; it is assigned like any other,
// but never listed as available, since it exists only while some article holds it.
//
// Invariant: assigned and available never share an id; available holds no pending id.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "storage/id_set.h"

class CKeywordAssignment {
public:
    // Available = all - assigned.
    void Init(const CKeywordIdSet& all, const CKeywordIdSet& assigned);

    // Each moves the ids of `selected` that lie on its side to the other side and gives back the
    // ids moved (a pending id leaves the assigned side without reaching the available one).
    CKeywordIdSet Assign(const CIdSet& selected);
    CKeywordIdSet Unassign(const CIdSet& selected);
    // Every assigned id is unassigned.
    CKeywordIdSet Clear();
    // A typed keyword resolved to `id` (kNoneId: the name could not be resolved, nothing changes).
    bool AddTyped(int32_t id);

    const CKeywordIdSet& Assigned() const { return m_assigned; }
    const CKeywordIdSet& Available() const { return m_available; }
    bool IsChanged() const { return m_changed; }

    static bool IsPending(int32_t id) { return id < 0 && id != kNoneId; }

private:
    CKeywordIdSet m_assigned;
    CKeywordIdSet m_available;
    bool m_changed = false;
};

// Completion of the new-keyword edit. `typedLength` is how many characters the user had typed when
// the edit last changed: completion works only while the text grows, so deleting never completes
// again. The first of `count` names in list order whose first n characters equal the text (n its
// length, case ignored) is the match; its index, or -1. `typedLength` becomes n in any case.
int FindKeywordCompletion(const std::string& text, int& typedLength, int count,
                          const std::function<const std::string&(int)>& nameAt);
