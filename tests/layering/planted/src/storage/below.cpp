#include "platform/shell.h" // storage stays below platform
