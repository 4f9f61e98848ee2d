#pragma once
// TextGameTest sits beside the whole-game fixture it extends.
#include "support/play_fixture.h"
