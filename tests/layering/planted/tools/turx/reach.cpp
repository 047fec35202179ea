#include "storage/records.h" // a tool reaching into src
#include "logolexer.h"
