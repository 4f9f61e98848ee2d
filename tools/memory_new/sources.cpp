#include "sources.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <set>

#include "name_order.h"
#include "platform/translation.h"

namespace mem::make {
namespace fs = std::filesystem;

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool is_wave(const fs::path& path) { return lower(path.extension().string()) == ".wav"; }
bool is_hidden(const fs::path& path) { return path.filename().string().starts_with("."); }

// A wave file with the picture's name beside it, in any letter case of ".wav".
std::string sound_beside(const fs::path& picture) {
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(picture.parent_path().empty() ? "." : picture.parent_path(), error)) {
        const fs::path& candidate = entry.path();
        if (candidate.stem() == picture.stem() && is_wave(candidate) && entry.is_regular_file(error))
            return candidate.string();
    }
    return "";
}

// The files of `folder` in name order, then those of its subfolders when
// `recursive`; otherwise the subfolders passed over are counted.
void collect(const fs::path& folder, bool recursive, std::vector<fs::path>& files, int& subfolders) {
    std::vector<fs::path> here, below;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (is_hidden(entry.path())) continue;
        if (entry.is_directory(error)) below.push_back(entry.path());
        else if (entry.is_regular_file(error) && !is_wave(entry.path())) here.push_back(entry.path());
    }
    // By name, then by extension.
    const auto by_name = [](const fs::path& a, const fs::path& b) {
        const std::string x = a.stem().string(), y = b.stem().string();
        return x != y ? natural_less(x, y) : a.filename() < b.filename();
    };
    std::sort(here.begin(), here.end(), by_name);
    std::sort(below.begin(), below.end(), by_name);
    files.insert(files.end(), here.begin(), here.end());
    if (!recursive) subfolders += static_cast<int>(below.size());
    else
        // Links to folders are not followed: one may lead back up.
        for (const fs::path& sub : below)
            if (!fs::is_symlink(sub, error)) collect(sub, true, files, subfolders);
}

}  // namespace

std::string caption_of(const std::string& path) {
    std::string caption = fs::path(path).stem().string();
    std::replace(caption.begin(), caption.end(), '_', ' ');
    return caption;
}

std::vector<SourcePicture> find_pictures(const std::vector<std::string>& inputs, bool recursive, std::ostream& err) {
    std::vector<fs::path> files;
    for (const std::string& input : inputs) {
        std::error_code error;
        if (fs::is_directory(input, error)) {
            const size_t before = files.size();
            int subfolders = 0;
            collect(input, recursive, files, subfolders);
            if (subfolders > 0)
                err << "memory-new: "
                    << format_text(files.size() == before
                                       ? tr_plural("\"%s\" holds %d subfolder and no files; --recursive takes the "
                                                   "pictures in subfolders too",
                                                   "\"%s\" holds %d subfolders and no files; --recursive takes the "
                                                   "pictures in subfolders too",
                                                   static_cast<unsigned long>(subfolders))
                                       : tr_plural("\"%s\" holds %d subfolder; --recursive takes the pictures in "
                                                   "subfolders too",
                                                   "\"%s\" holds %d subfolders; --recursive takes the pictures in "
                                                   "subfolders too",
                                                   static_cast<unsigned long>(subfolders)),
                                   input.c_str(), subfolders)
                    << "\n";
        } else if (!fs::exists(input, error)) {
            err << "memory-new: " << format_text(tr("skipped \"%s\": no such file or folder"), input.c_str()) << "\n";
        } else if (!is_wave(input)) {
            files.push_back(input);
        }
    }
    std::vector<SourcePicture> pictures;
    std::set<fs::path> seen;
    for (const fs::path& file : files) {
        // A picture named twice (by itself and in its folder) makes one pair.
        std::error_code error;
        if (!seen.insert(fs::weakly_canonical(file, error)).second) continue;
        pictures.push_back({file.string(), caption_of(file.string()), sound_beside(file)});
    }
    return pictures;
}

void number_equal_captions(std::vector<SourcePicture>& pictures, std::ostream& err) {
    std::set<std::string> taken;
    for (const SourcePicture& picture : pictures) taken.insert(picture.caption);
    std::set<std::string> used;
    for (SourcePicture& picture : pictures) {
        if (used.insert(picture.caption).second) continue;
        std::string unique;
        for (int n = 2; unique.empty() || taken.count(unique); ++n) unique = picture.caption + " " + std::to_string(n);
        err << "memory-new: "
            // TRANSLATORS: a picture file, its new name, the name it shares with an earlier picture.
            << format_text(tr("\"%s\" is named \"%s\": an earlier picture is named \"%s\""), picture.path.c_str(),
                           unique.c_str(), picture.caption.c_str())
            << "\n";
        taken.insert(unique);
        used.insert(unique);
        picture.caption = unique;
    }
}

}  // namespace mem::make
