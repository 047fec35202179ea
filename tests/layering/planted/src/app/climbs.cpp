#include "../storage/x.h"
#include "document/wallloader.h"
#include "web/sibling.h"
