// The user's documents folder, where the program's folders start on first use; empty when the system
// cannot name it.
#pragma once
#include <string>

std::string PersonalFolder();
