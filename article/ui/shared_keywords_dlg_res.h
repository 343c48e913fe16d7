// Resource ids of the Save Shared Keywords question.
#pragma once

#define IDD_SAVE_SHARED_KEYWORDS 1681
