#pragma once
#include "storage/record.h"
