#include "../storage/x.h"
#include "wall/wallloader.h"
#include "web/sibling.h"
