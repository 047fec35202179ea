#include "cards/cardboard.h"
#include "wall/wallloader.h" // the card floor reaching up
