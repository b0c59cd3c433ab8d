#include "media/ofEvents.h"

ofCoreEvents ofEvents;
