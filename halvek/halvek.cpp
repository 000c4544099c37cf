#include "halvek.h"
