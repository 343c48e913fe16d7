#include "shell/personal_folder.h"

// Outside Windows there is no documents folder of the Windows kind; the program's folder is used.
std::string PersonalFolder()
{
    return std::string();
}
