#pragma once
#include <mixer/mixer_desk.h>
