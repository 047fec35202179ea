#include "platform/beep.h"
#include "model/bgrcolor.h" // the first floor reaching up
