#include "document/doc.h"
#include "framework/file.h"
