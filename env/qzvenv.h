#pragma once
// The environment library: machine-wide (System), per-user (User) and
// process (Process) environment variables, read and written by name and
// listed as cValuePairs.
#include "env/process.h"
#include "env/system.h"
#include "env/user.h"
#include "env/value_pairs.h"
