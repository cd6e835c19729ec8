#include "datamodule.h"
