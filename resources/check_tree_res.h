// Ids of the check tree's images: four 13 x 13 images side by side and their mask.
#pragma once

#define IDB_CHECK_TREE 262
#define IDB_CHECK_TREE_MASK 263
