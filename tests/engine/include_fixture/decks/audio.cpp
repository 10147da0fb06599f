#include "platform/audio/bass.h"
