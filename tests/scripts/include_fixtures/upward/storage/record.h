// A storage file that reaches up into the document.
#pragma once
#include "document/doc.h"
