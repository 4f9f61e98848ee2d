#pragma once
// The files a game is made from: files named on the command line and the
// files in named folders (and their subfolders with --recursive).
#include <iosfwd>
#include <string>
#include <vector>

namespace mem::make {

struct SourcePicture {
    std::string path;
    std::string caption;  // the file name without extension, underscores as blanks
    std::string sound;    // a wave file of the same name beside it, or empty
};

// Every file of `inputs` that may be a picture, folders read in the natural
// order of their names; whether it is one shows when it is read. Wave files
// are sounds and hidden files are passed over silently; what else is passed
// over is said on `err`: inputs that do not exist, and subfolders when not
// `recursive`.
std::vector<SourcePicture> find_pictures(const std::vector<std::string>& inputs, bool recursive, std::ostream& err);

// The caption of a picture file: its name without the extension, with
// underscores as blanks.
std::string caption_of(const std::string& path);

// Mended: equal captions get a number ("cat", "cat 2"), each change said on
// `err`; a text game needs every name to match one card only.
void number_equal_captions(std::vector<SourcePicture>& pictures, std::ostream& err);

}  // namespace mem::make
