#include "tests/grid/GridTestSupport.h"
