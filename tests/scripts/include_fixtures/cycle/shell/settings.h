#pragma once
#include "index/query.h"
