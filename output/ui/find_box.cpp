#include "output/ui/find_box.h"
