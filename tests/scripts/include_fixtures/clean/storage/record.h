#pragma once
#include "framework/file.h"
#include <vector>
