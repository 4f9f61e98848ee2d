#include <gtest/gtest.h>

#include "app/errors.h"

namespace mem::test {
namespace {

TEST(ErrorTexts, EveryMessageExactlyAsShownToThePlayer) {
    const std::string CR = "\r";
    struct Case {
        double code;
        bool continuable;
        std::string message;
    };
    const std::string n = "C:\\G\\x";
    const Case cases[] = {
        {1, false, "Could not find file ''" + n + "''" + CR + CR + "You must have an INI file as an argument," + CR +
                       "OR place memory.ini in the application path" + CR + "OR in the windows directory."},
        {3, false, "There is no application type declaration" + CR + "in the INI file."},
        {4, false, "The application type declaration in the" + CR + "INI file is unknown."},
        {5, false, "Could not find main file ''" + n + "''"},
        {6, false, "Could not find global file ''" + n + "''"},
        {7, false, "Could not find card file ''" + n + "''"},
        {8, false, "Could not find list file ''" + n + "''"},
        {9, true, "Listfile contains to few text strings."},
        {10, false, "Could not find special file ''" + n + "''"},
        {100, true, "Background picture file ''" + n + " does not exist."},
        {101, true, "Card front picture file ''" + n + "'' does not exist."},
        {102, true, "Control picture file ''" + n + "'' does not exist."},
        {103, true, "Quit button picture file ''" + n + "'' does not exist."},
        {104, true, "Player background picture file ''" + n + "'' does not exist."},
        {105, true, "Card picture file ''" + n + "'' does not exist."},
        {200, true, "''End (good) sound'' wave file ''" + n + " does not exist."},
        {201, true, "''End (bad) sound'' wave file ''" + n + " does not exist."},
        {202, true, "''Turn card sound'' wave file ''" + n + " does not exist."},
        {203, true, "'Wave file ''" + n + "'' for card number 7 does not exist."},
        {204, true, "''Click text sound'' wave file ''" + n + " does not exist."},
        {205, true, "''Match sound'' wave file ''" + n + " does not exist."},
        {206, true, "''No Match sound'' wave file ''" + n + " does not exist."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(memErrorMessage(c.code, n, 7), c.message) << c.code;
        EXPECT_EQ(memIsContinuable(c.code), c.continuable) << c.code;
    }
}

}  // namespace
}  // namespace mem::test
