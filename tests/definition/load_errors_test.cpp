// Failures while a definition set is read and prepared: the fatal errors with their texts,
// the questions that OK carries on from, and odd or broken files that must not crash the loader.
#include <sys/stat.h>

#include "app/errors.h"
#include "support/play_fixture.h"

namespace mem::test {
namespace {

using LoadFatal = DefinitionTest;

TEST_F(LoadFatal, ShowsTheMessageAndEndsWithFailure) {
    const std::string definition = "[application]\napp=memory\n[paths]\ndata=@data/\n[gamefiles]\n";
    const std::string count = "'' in file ''@data/global.ini'' is not a whole number from 0 to 32767.";
    const std::string range = "'' is out of range for its setting.";
    // A file of the set and its content (nothing: left out), the error and its message ("@": the set's folder).
    // Each file is read before the next is looked for.
    const std::tuple<const char*, std::optional<std::string>, int, std::string> cases[] = {
        {"main.ini", std::nullopt, 5, "Could not find main file ''@data/main.ini''"},
        {"memory.ini", "app=memory\n[paths]\ndata=@data/\n", 5, "Could not find main file ''@data/''"},
        {"global.ini", std::nullopt, 6, "Could not find global file ''@data/global.ini''"},
        {"memory.ini", definition + "main=main.ini\nglobal=global.ini\ncards=cards.txt\nspecial=sp.ini\n", 10,
         "Could not find special file ''@data/sp.ini''"},
        {"cards.txt", std::nullopt, 7, "Could not find card file ''cards.txt''"},
        {"main.ini", "[timer]\nforecolor=red\n", 11,
         "The value ''forecolor=red'' in file ''@data/main.ini'' is not a number."},
        {"global.ini", "cardsx=2\ncardsy=2\nForeColor = 12 red\n", 11,
         "The value ''forecolor= 12 red'' in file ''@data/global.ini'' is not a number."},
        {"main.ini", "[players]\nplayers=40000\n", 12, "The value ''players=40000'' in file ''@data/main.ini" + range},
        {"main.ini", "[interface]\nbackcolor=1e10\n", 12, "The value ''backcolor=1e10'' in file ''@data/main.ini" + range},
        {"global.ini", "cardwidth=1e39\n", 12, "The value ''cardwidth=1e39'' in file ''@data/global.ini" + range},
        {"global.ini", "cardsx=4.5\ncardsy=3\n", 13, "The card count of ''cardsx=4.5, cardsy=3" + count},
        {"global.ini", "cardsx=-4\ncardsy=-5\n", 13, "The card count of ''cardsx=-4, cardsy=-5" + count},
        {"global.ini", "cardsx=200\ncardsy=200\n", 13, "The card count of ''cardsx=200, cardsy=200" + count},
    };
    for (const auto& [file, content, code, message] : cases) {
        SCOPED_TRACE(message);
        SetUp();
        const std::string folder = dir.string() + "/";
        auto expand = [&folder](std::string text) {
            for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + folder.size()))
                text.replace(at, 1, folder);
            return text;
        };
        files[file] = content ? std::optional(expand(*content)) : std::nullopt;
        EXPECT_EQ(load(), kExitFailure);
        ASSERT_EQ(error_codes(), std::vector<int>{code});
        EXPECT_EQ(platform.message_boxes[0].text, expand(message));
        EXPECT_EQ(platform.message_boxes[0].style, kStyleCritical);
    }
}

// Files that are empty, not text at all, or named pipes (opening one would wait for a writer for ever).
TEST_F(LoadFatal, OddFilesNeverCrashTheLoader) {
    std::string binary;
    for (int i = 0; i < 2048; ++i) binary += static_cast<char>((i * 37 + 11) % 256);
    // A file, its content ("|": a named pipe) and the fatal error (0 for none).
    const std::tuple<const char*, std::string, int> cases[] = {
        {"cards.txt", "|", 7}, {"main.ini", "", 0},     {"global.ini", "", 0},
        {"cards.txt", "", 0},  {"main.ini", binary, 0}, {"cards.txt", binary, 0},
        {"main.ini", std::string("[line]\0\"\n\"x", 12), 0},
    };
    for (const auto& [file, content, code] : cases) {
        SCOPED_TRACE(std::string(file) + " " + std::to_string(content.size()));
        SetUp();
        files[file] = std::nullopt;
        if (content == "|") ASSERT_EQ(::mkfifo((dir / "data" / file).c_str(), 0600), 0);
        else write("data/" + std::string(file), content);
        const std::optional<int> ended = load();
        if (code) {
            EXPECT_EQ(ended, kExitFailure);
            EXPECT_EQ(error_codes(), std::vector<int>{code});
            continue;
        }
        // Stray tab fields of a binary card file may name sounds: questions, never a fatal error.
        EXPECT_EQ(ended, std::nullopt);
    }
}

using LoadMessages = PlayTest;

// Named files that are missing or broken when the game starts: each is
// reported, OK goes on without it, and Cancel ends the program with a failure.
TEST_F(LoadMessages, MissingOrBrokenFilesAreReportedAndLeftOut) {
    struct Case {
        const char* what;
        std::function<void(PlayTest&)> prepare;
        std::vector<int> codes;
        std::function<bool(PlayTest&)> goes_on;  // without what was left out
    };
    // A card face that would hang the decoder or take giant memory is left out (the picture guard's own test tries
    // every format); a wave that claims 2 GB (8000 bytes a second, 800 there) plays as the 0.1 s really there.
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x3c\0\0\0\x3c\x08\x02", 26);
    const std::string bmp = std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0"
                                        "\x60\xEA\0\0\x60\xEA\0\0\x01\0\x18\0", 30) + std::string(24, '\0');
    const std::string wave = std::string("RIFF\x44\x03\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0"
                                         "\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data\xff\xff\xff\x7f", 44) +
                             std::string(800, '\x80');
    auto broken = [](const char* file, const std::string& bytes) {
        return [=](PlayTest& t) {
            t.spoil = [=](const std::filesystem::path& dir) { std::ofstream(dir / "card" / file) << bytes; };
        };
    };
    auto pair_taken = [](PlayTest& t) {
        t.wait_for_status_tick();
        return t.try_cards(t.position_of(0), t.position_of(1)) && t.game().memTurnedCards == 2;
    };
    auto face_left_out = [&](PlayTest& t) { return !t.game().memCardHolder[0].Picture && pair_taken(t); };
    const Case cases[] = {
        {"end, turn and result sounds, card back",
         [](PlayTest& t) {
             t.options.extra_main = "[interface]\nendgoodsound=\nendbadsound=gone.wav\nnomatchsound=gone.wav\n";
             t.options.extra_global = "picture=gone.bmp\n";
             t.options.turn_sound = false;
         },
         {200, 201, 202, 206, 101},
         [](PlayTest& t) {
             const frm_MemoryGame& g = t.game();
             return !g.memCardBack && g.memInterface.EndBadSound.empty() && g.memTurnSoundFile.empty() &&
                    g.memInterface.NoMatchSound.empty() && g.memResultSounds == False;
         }},
        // The list is looked for in the card folder, then in the data folder.
        {"short text list and its click sound",
         [](PlayTest& t) {
             t.options.extra_definition = "listfile=list.txt\n";
             t.options.extra_global = "[text list]\nactive=1\nsound=click.wav\n";
             std::ofstream(t.dir / "data" / "list.txt") << "D0\nD1\nD2\n";
         },
         {204, 9},
         [](PlayTest& t) {
             const TextList& l = t.game().memInterface.TextList;
             return l.Item[2].Text == "D2" && l.Item[3].Text.empty() && l.Sound.empty();
         }},
        {"truncated PNG face", broken("f0.bmp", png), {105}, face_left_out},
        {"BMP face of 60000 x 60000 pixels", broken("f0.bmp", bmp), {105}, face_left_out},
        {"wave claiming 2 GB", broken("s0.wav", wave), {}, pair_taken},
    };
    for (const Case& c : cases) {
        for (bool cancel : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (cancel ? ", Cancel" : ", OK"));
            restart(PlayOptions{});
            spoil = nullptr;
            c.prepare(*this);
            if (cancel) platform().answers = {kAnswerCancel};
            const std::optional<int> status = start();
            const std::vector<int> codes = error_codes(platform());
            if (cancel) {
                EXPECT_EQ(status, c.codes.empty() ? std::optional<int>() : std::optional<int>(kExitFailure));
                continue;
            }
            ASSERT_EQ(status, std::nullopt);
            EXPECT_EQ(codes, c.codes);
            EXPECT_TRUE(c.goes_on(*this));
        }
    }
}

TEST_F(LoadMessages, AMissingListFileEndsTheProgram) {
    options.extra_definition = "listfile=list.txt\n";
    options.extra_global = "[text list]\nactive=1\n";
    EXPECT_EQ(start(), kExitFailure);
    EXPECT_EQ(error_codes(platform()), (std::vector<int>{204, 8})) << "no click sound, then no list";
}

}  // namespace
}  // namespace mem::test
