#include "output/label_queue.h"
