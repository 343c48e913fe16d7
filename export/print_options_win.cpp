#include <windows.h>

#include "export/print_options.h"

// The print dialog allocates DEVNAMES and DEVMODE with GlobalAlloc; whoever keeps them frees them.
void FreePrintHandle(void* handle)
{
    GlobalFree(static_cast<HGLOBAL>(handle));
}
