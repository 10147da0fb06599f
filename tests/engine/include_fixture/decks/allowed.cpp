#include "decks/own.h"
#include "engine/channel.h"
#include <platform/system/text.h>
#include <QString>
#include "own.h"
