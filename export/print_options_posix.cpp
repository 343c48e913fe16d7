#include "export/print_options.h"

// Natively no print dialog hands out handles, so there is nothing to free.
void FreePrintHandle(void*) {}
