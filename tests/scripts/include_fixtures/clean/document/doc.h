#pragma once
#include "storage/record.h"
#include "local.h"
