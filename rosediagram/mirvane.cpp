#include "rosediagram/mirvane.h"

ModuloMirvane Mirvane;
