// How the document's commands end on an error: the user is told, the command stops.
#pragma once
#include <new>

#include "storage/quor_error.h"

// A record that cannot be read because it is damaged (a broken chain, a bad field, the wrong type):
// the operations that pass over damaged records pass over these only. A failing disk, a full disk or
// memory exhaustion stops them.
inline bool IsDamagedRecord(const CQuorError& error)
{
    return error.Code() == kCorruptedRecord || error.Code() == kCorruptedRecordType;
}

// Runs `operation`; a CQuorError is reported and memory exhaustion is reported as such. True when
// the operation completed.
template <class Operation>
bool ReportErrors(Operation&& operation)
{
    try {
        operation();
        return true;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    return false;
}
