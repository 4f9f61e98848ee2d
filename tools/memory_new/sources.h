#pragma once
// The pictures a game is made from: files named on the command line and the
// files in named folders, each tested by decoding it.
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace mem::make {

class Canvas;

struct SourcePicture {
    std::string path;
    std::string caption;  // the file name without extension, underscores as blanks
    std::string sound;    // a wave file of the same name beside it, or empty
};

// Every decodable picture of `inputs`, folders read in the natural order of
// their names. Files that
// do not decode are named on `err` and left out; wave files are sounds, not
// pictures, and are passed over silently.
std::vector<SourcePicture> find_pictures(const std::vector<std::string>& inputs, std::ostream& err);

// The picture decoded, or null with the decoder's reason in `error`.
std::unique_ptr<Canvas> load_picture(const std::string& path, std::string& error);

// The caption of a picture file: its name without the extension, with
// underscores as blanks.
std::string caption_of(const std::string& path);

}  // namespace mem::make
