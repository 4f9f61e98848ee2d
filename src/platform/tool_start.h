#pragma once
// The opening the command-line tools share.

namespace mem {

// Answers --version with `name_version` (looked for only before a "--" when `dashes_end_options`) and returns false,
// the tool then ending with 0; else starts the translations from the program's directory and returns true.
bool start_tool(int argc, char** argv, const char* name_version, bool dashes_end_options = false);

}  // namespace mem
