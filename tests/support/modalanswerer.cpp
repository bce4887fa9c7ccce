// The answerer lives in its header; the window's test library still builds from this unit.
#include "modalanswerer.h"
