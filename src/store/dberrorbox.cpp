#include "dberrorbox.h"
