#include "../engine/channel.h"
