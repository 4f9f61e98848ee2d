#pragma once
// DefinitionTest sits beside the other folder fixtures.
#include "board/board_fixture.h"
