#include "platform/audio/bass.h"
#include "engine/channel.h"
