#include <gtest/gtest.h>

#include "platform/sdl/sdl_platform.h"

namespace mem::test {
namespace {

// What SDL_ShowMessageBox gave, turned into the game's answer.
TEST(MessageBoxAnswer, ClosedQuestionIsCancel) {
    struct Case {
        const char* name;
        int status, button, style, answer;
    };
    const Case cases[] = {
        {"OK chosen", 0, kAnswerOk, kStyleCriticalOkCancel, kAnswerOk},
        {"Cancel chosen", 0, kAnswerCancel, kStyleCriticalOkCancel, kAnswerCancel},
        {"question closed by the window manager", 0, -1, kStyleCriticalOkCancel, kAnswerCancel},
        {"fatal message closed by the window manager", 0, -1, kStyleCritical, kAnswerOk},
        {"no box could be shown", -1, -1, kStyleCriticalOkCancel, kAnswerOk},
    };
    for (const Case& c : cases) EXPECT_EQ(message_box_answer(c.status, c.button, c.style), c.answer) << c.name;
}

}  // namespace
}  // namespace mem::test
