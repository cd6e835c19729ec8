#include "datasetmodel.h"
