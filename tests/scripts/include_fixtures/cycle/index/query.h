#pragma once
#include "shell/settings.h"
