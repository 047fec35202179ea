#include "drawing/flashwindow.h" // a sibling on the fifth floor
