#include "engine/ui/fvc_browser.h"
