#include "storage/records.h"
