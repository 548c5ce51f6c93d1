#pragma once
#include "game/GameTypes.h"
