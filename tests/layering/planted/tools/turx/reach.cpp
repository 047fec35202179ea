#include "logolexer.h"
#include "storage/records.h" // a tool reaching into src
