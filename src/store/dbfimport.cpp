#include "dbfimport.h"
