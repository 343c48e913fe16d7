// How the document's commands end on an error: the user is told, the command stops.
#pragma once
#include <new>

#include "document/quor_error.h"

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
