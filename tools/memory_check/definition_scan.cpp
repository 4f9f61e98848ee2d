#include "definition_scan.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>

#include "definition/syntax.h"
#include "platform/translation.h"

namespace mem::check {
namespace {

using Keys = std::vector<std::string>;

const Keys kGroupKeys = {"active", "order", "condition", "picture", "fontname", "fontsize",
                         "fontbold", "fontitalic", "forecolor", "placex", "placey"};
const Keys kGroupSections = {"timer", "countdown", "cards made", "cards left", "tries made", "tries left"};

// The keys the game reads, section by section, as the loader compares them.
const std::map<std::string, Keys>& main_sections() {
    static const std::map<std::string, Keys> sections = [] {
        std::map<std::string, Keys> s = {
            {"splash screen", {"active", "backcolor", "windowstate", "picture"}},
            {"interface",
             {"pictures", "backcolor", "quitpicture", "endgoodpicture", "endbadpicture", "endgoodsound",
              "endbadsound", "matchsound", "nomatchsound"}},
            {"line", {"active", "color", "width"}},
            {"players",
             {"players", "defaultname", "name1", "name2", "name3", "name4", "picture", "namefont", "namefontsize",
              "namefontbold", "namefontitalic", "nameforecolor", "scorefont", "scorefontsize", "scorefontbold",
              "scorefontitalic", "scoreforecolor", "dimcolor"}},
        };
        for (const std::string& group : kGroupSections) s[group] = kGroupKeys;
        return s;
    }();
    return sections;
}

const Keys kTextListKeys = {"active", "pictureslide", "fontname", "fontsize", "fontbold", "fontitalic", "forecolor",
                            "selectcolor", "dimcolor", "destroy", "sound", "top", "left", "width", "space"};
const Keys kCardKeys = {"dissapear", "turnsound", "fontname", "fontsize", "fontbold", "fontitalic",
                        "forecolor", "wordwrap", "autosize", "cardsx", "cardsy", "cardwidth",
                        "cardheight", "border", "picture", "samenamesound", "randompairs", "preview"};
const Keys kDefinitionAnyKeys = {"app", "debug"};
const Keys kPathKeys = {"gfx", "card", "sfx", "data"};
const Keys kGameFileKeys = {"main", "global", "cards", "special", "listfile"};


bool contains(const Keys& keys, const std::string& key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

Keys section_names(const std::map<std::string, Keys>& sections) {
    Keys names;
    for (const auto& [name, keys] : sections) names.push_back(name);
    return names;
}

// The keys the game reads in `section` of a file of this kind; nothing when
// it reads no key there at all.
std::optional<Keys> known_keys(FileKind kind, const std::string& section) {
    switch (kind) {
    case FileKind::Definition: {
        Keys keys = kDefinitionAnyKeys;
        if (section == "application") keys.push_back("title");
        if (section == "paths") keys.insert(keys.end(), kPathKeys.begin(), kPathKeys.end());
        if (section == "gamefiles") keys.insert(keys.end(), kGameFileKeys.begin(), kGameFileKeys.end());
        return keys;
    }
    case FileKind::Main: {
        auto it = main_sections().find(section);
        if (it == main_sections().end()) return std::nullopt;
        return it->second;
    }
    case FileKind::Global:
        return section == "text list" ? kTextListKeys : kCardKeys;
    case FileKind::Special:
        if (section == "interface") return Keys{"pictures"};
        return std::nullopt;
    }
    return std::nullopt;
}

// Other sections of the same kind of file where `key` would be read.
std::string home_of(FileKind kind, const std::string& key) {
    switch (kind) {
    case FileKind::Definition:
        if (contains(kPathKeys, key)) return "paths";
        if (contains(kGameFileKeys, key)) return "gamefiles";
        return "";
    case FileKind::Main:
        for (const auto& [name, keys] : main_sections())
            if (contains(keys, key)) return contains(kGroupSections, name) ? "timer" : name;
        return "";
    case FileKind::Global:
        if (contains(kTextListKeys, key)) return "text list";
        if (contains(kCardKeys, key)) return "cards";
        return "";
    case FileKind::Special:
        return key == "pictures" ? "interface" : "";
    }
    return "";
}

class Scanner {
public:
    Scanner(FileKind kind, std::string path, int app_type, const HasValueLabel& has_value_label)
        : kind_(kind), path_(std::move(path)), app_type_(app_type), has_value_label_(has_value_label) {}

    // `dropped` is how many blanks the reader took off the end of the item.
    void item(const std::string& raw, size_t dropped) {
        if (memIsSection(raw)) {
            section_ = memLower(memGetSection(raw));
            check_section();
            return;
        }
        const std::string key = memLower(memGetKey(raw));
        if (key.empty()) return;  // a blank line
        const bool has_equals = raw.find('=') != std::string::npos;
        const std::string value = memGetValue(raw);
        const std::optional<Keys> known = known_keys(kind_, section_);
        if (!known) {
            // An unknown section was reported at its header; a key before
            // any header is reported on its own.
            if (section_.empty()) unknown_key(key, has_equals, Keys{});
            return;
        }
        if (!contains(*known, key)) {
            unknown_key(key, has_equals, *known);
            return;
        }
        if (dropped > 0 && has_equals)
            // TRANSLATORS: %1$s is the value the game reads, %2$s the line to write, %3$zu the blanks at its end.
            warn(where(key) + format_text(tr_plural("the value ends in a blank, which the game drops (it reads "
                                                    "\"%1$s\"); to keep it, write the line in double quotes: \"%2$s\"",
                                                    "the value ends in %3$zu blanks, which the game drops (it reads "
                                                    "\"%1$s\"); to keep them, write the line in double quotes: \"%2$s\"",
                                                    dropped),
                                          value.c_str(), (raw + std::string(dropped, ' ')).c_str(), dropped));
        position(key, value);
    }

    ScanResult result;

private:
    std::string where(const std::string& key) const {
        return path_ + (section_.empty() ? "" : " [" + section_ + "]") + " " + key + ": ";
    }
    void warn(const std::string& text) { result.findings.push_back({text}); }

    void check_section() {
        if (kind_ == FileKind::Main) {
            if (main_sections().count(section_)) return;
            const std::string near = nearest_key(section_, section_names(main_sections()));
            if (near.empty())
                // TRANSLATORS: the file and [the section]; the next text adds a section it may have meant.
                warn(format_text(tr("%s [%s]: the game reads no section of this name; its keys are ignored"),
                                 path_.c_str(), section_.c_str()));
            else
                warn(format_text(tr("%s [%s]: the game reads no section of this name (did you mean [%s]?); its keys "
                                    "are ignored"),
                                 path_.c_str(), section_.c_str(), near.c_str()));
        } else if (kind_ == FileKind::Global && section_ != "text list" && edit_distance(section_, "text list") <= 2) {
            warn(format_text(tr("%s [%s]: not the section [text list] (did you mean it?); its keys are read as card "
                                "settings"),
                             path_.c_str(), section_.c_str()));
        } else if (kind_ == FileKind::Special && section_ != "interface") {
            warn(format_text(tr("%s [%s]: the special file is read only for \"pictures\" in [interface]; this section "
                                "is ignored"),
                             path_.c_str(), section_.c_str()));
        }
    }

    void unknown_key(const std::string& key, bool has_equals, const Keys& known) {
        if (!has_equals) {
            warn(where(key) + tr("not a key=value line, ignored (a comma splits a line into two items: write a value "
                                 "that holds a comma in double quotes)"));
            return;
        }
        const std::string near = nearest_key(key, known);
        const std::string home = home_of(kind_, key);
        if (!near.empty())
            warn(where(key) + format_text(tr("the game reads no such key here (did you mean \"%s\"?)"), near.c_str()));
        else if (!home.empty() && home != section_)
            warn(where(key) + format_text(tr("the game reads no such key here (it is read in [%s])"), home.c_str()));
        else
            warn(where(key) + tr("the game reads no such key here"));
    }

    // Keys that work only after other keys.
    void position(const std::string& key, const std::string& value) {
        if (kind_ == FileKind::Main) main_position(key, value);
        if (kind_ == FileKind::Global) global_position(key, value);
    }

    void main_position(const std::string& key, const std::string& value) {
        if (section_ == "players") {
            for (const std::string base : {"namefont", "scorefont"}) {
                bool& chosen = base == std::string("namefont") ? name_font_ : score_font_;
                if (key == base) {
                    chosen = true;
                    use_font(key, value);
                } else if (key.rfind(base, 0) == 0 && !chosen) {
                    warn(where(key) + format_text(tr("no effect: it comes before \"%s\", which chooses the font it changes"),
                                                  base.c_str()));
                }
            }
            return;
        }
        const auto g = std::find(kGroupSections.begin(), kGroupSections.end(), section_);
        if (g == kGroupSections.end()) return;
        Group& group = groups_[static_cast<size_t>(g - kGroupSections.begin())];
        if (key == "active") {
            group.active = memValToBool(value) != False;
        } else if (key == "order") {
            const std::optional<int16_t> order = memToWhole(memReadNumber(value) - 1);
            group.order_read = true;
            group.has_font = order && has_value_label_(*order);
            if (!group.has_font)
                warn(where(key) + format_text(tr("order %s has no value label (use 1 to 6): the group's font keys have "
                                                 "no effect"),
                                              value.c_str()));
        } else if (key.rfind("font", 0) == 0) {
            if (!group.active) {
                warn(where(key) + tr("no effect: font keys of a group work only after \"active=1\""));
            } else if (!group.order_read) {
                warn(where(key) + tr("no effect: font keys of a group work only after its \"order\""));
            } else if (group.has_font && key == "fontname") {
                use_font(key, value);
            }
        }
    }

    void global_position(const std::string& key, const std::string& value) {
        const bool font_key = key == "fontsize" || key == "fontbold" || key == "fontitalic";
        if (section_ == "text list") {
            if (key == "active") {
                list_active_ = memValToBool(value) != False;
            } else if (key == "fontname") {
                if (!list_active_) {
                    warn(where(key) + tr("no effect: the text-list font keys work only after \"active=1\""));
                } else {
                    list_font_ = true;
                    use_font(key, value);
                }
            } else if (font_key) {
                if (!list_active_)
                    warn(where(key) + tr("no effect: the text-list font keys work only after \"active=1\""));
                else if (!list_font_)
                    warn(where(key) + format_text(tr("no effect: it comes before \"%s\", which chooses the font it changes"),
                                              "fontname"));
            }
            return;
        }
        if (key == "fontname") {
            card_font_ = true;
            use_font(key, value);
        } else if (font_key && !card_font_) {
            warn(where(key) + format_text(tr("no effect: it comes before \"%s\", which chooses the font it changes"),
                                              "fontname"));
        } else if (key == "picture" && app_type_ == 1) {
            warn(where(key) + tr("no effect in a match game: the cards lie face up, there is no card back"));
        }
    }

    void use_font(const std::string& key, const std::string& name) {
        result.fonts.push_back({path_, section_, key, name});
    }

    struct Group {
        bool active = false;
        bool order_read = false;
        bool has_font = false;
    };

    FileKind kind_;
    std::string path_;
    int app_type_;
    const HasValueLabel& has_value_label_;
    std::string section_;
    bool name_font_ = false, score_font_ = false, list_active_ = false, list_font_ = false, card_font_ = false;
    Group groups_[6];
};

}  // namespace

int edit_distance(const std::string& a, const std::string& b) {
    const size_t n = a.size(), m = b.size();
    std::vector<std::vector<int>> d(n + 1, std::vector<int>(m + 1));
    for (size_t i = 0; i <= n; ++i) d[i][0] = static_cast<int>(i);
    for (size_t j = 0; j <= m; ++j) d[0][j] = static_cast<int>(j);
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            const int cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

std::string nearest_key(const std::string& key, const std::vector<std::string>& known) {
    // Close enough: a third of the longer name, at least 1 and at most 3 edits.
    std::string best;
    int best_distance = 0;
    for (const std::string& candidate : known) {
        const int distance = edit_distance(key, candidate);
        const int limit = std::clamp(static_cast<int>(std::max(key.size(), candidate.size()) / 3), 1, 3);
        if (distance > limit) continue;
        if (best.empty() || distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

ScanResult scan_file(FileKind kind, const std::string& path, const std::string& content, int app_type,
                     const HasValueLabel& has_value_label) {
    Scanner scanner(kind, path, app_type, has_value_label);
    ItemReader items(content);
    while (!items.at_end()) {
        const std::string item = items.next();
        scanner.item(item, items.dropped_blanks());
    }
    return scanner.result;
}

}  // namespace mem::check
