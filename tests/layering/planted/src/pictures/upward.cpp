#include "model/bgrcolor.h" // the first floor reaching up
#include "platform/beep.h"
