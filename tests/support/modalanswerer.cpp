// The answerer lives in its header; this unit gives the window's test library its own object.
#include "modalanswerer.h"
