#include "web/sibling.h"
#include "wall/wallloader.h"
#include "../storage/x.h"
