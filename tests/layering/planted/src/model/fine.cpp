#include "storage/records.h"
#include <QString>
