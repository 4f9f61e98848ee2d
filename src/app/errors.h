#pragma once
// The texts of the numbered errors.
#include <string>

namespace mem {

// True for the errors that offer to go on without the file concerned.
bool memIsContinuable(double code);
// The message of an error, without the "Continue?" part; empty for a code
// that is never raised.
std::string memErrorMessage(double code, const std::string& name, double number);
// "Error in application (#" code ")", in the user's language.
std::string memErrorTitle(double code);
// Reads a title made by memErrorTitle at `from` in `text`: its code, and
// where the title ends. False when no such title starts there.
bool memReadErrorTitle(const std::string& text, size_t from, int& code, size_t& after);
// What a continuable error's message ends with: "\r\rContinue?".
std::string memContinueQuestion();
// A number in its shortest decimal form: 200 gives "200", 2.5 gives "2.5".
std::string memNumberText(double value);

}  // namespace mem
