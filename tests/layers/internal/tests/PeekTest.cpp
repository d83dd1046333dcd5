#include "platform/ui/WndImpl.h"
