#include "cards/cardboard.h"
#include "drawing/wallpen.h" // the card floor reaching up
