#pragma once
// write_wave sits beside write_bmp.
#include "board/board_fixture.h"
